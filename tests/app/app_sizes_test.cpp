#include "app/app_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "app/app_growth.h"
#include "platform/date_text.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "ring/ring_sizes.h"
#include "tests/support/app_fixture.h"

namespace {

using namespace std::chrono_literals;

class SizesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Settings().CountFolderSizesInBackground = true;
    }
    // Frames until the ring's count is done, handed over and eased in.
    bool CountToTheEnd(const QOXRing* ring)
    {
        const bool done = PumpUntil([&] { return ring->Sizes != nullptr && !ring->Sizes->Progress().Busy; });
        for (int frame = 0; frame < 10; ++frame)
            Pump();
        return done;
    }
    static QREFolder* Sub(const QREFolder& folder, const std::string& name)
    {
        return static_cast<QREFolder*>(ChildNamed(folder, name + "/"));
    }
    // Every element of a ring: its size and sector, to compare two layouts.
    static std::vector<std::tuple<std::string, std::int64_t, float, float>> Picture(const QREFolder& folder)
    {
        std::vector<std::tuple<std::string, std::int64_t, float, float>> picture;
        folder.ForEachChild([&](const QRElement* child) {
            picture.emplace_back(child->FullPath(), child->Size, child->StartAngle, child->EndAngle);
            if (child->IsFolder()) {
                const auto below = Picture(*static_cast<const QREFolder*>(child));
                picture.insert(picture.end(), below.begin(), below.end());
            }
        });
        return picture;
    }
};

// Every folder's size is all the disk holds below it as the test counts it: hidden files too,
// hard links once, nothing behind a link, pipes and sockets as nothing; a folder past 2 GiB is the
// widest; the status bar says the count runs and is empty once it is done.
TEST_F(SizesTest, EveryFolderIsSizedByEverythingBelowIt)
{
    FileTree outside;
    outside.File("huge.bin", 50'000'000);
    Tree.File("small/a.txt", 1000);
    Tree.File("small/.hidden", 24);
    Tree.File("small/deeper/b.txt", 300);
    Tree.File("large/sparse.bin", 3'221'225'472ULL); // past 31 bits, on no disk space
    Tree.File("links/one", 4000);
    Tree.HardLink("links/two", "links/one");
    Tree.Pipe("special/pipe");
    Tree.Socket("special/socket");
    Tree.Link("elsewhere", outside.Root());
    Tree.MakeFolder("empty");
    Tree.File("top.txt", 10);
    for (int i = 0; i < 300; ++i)
        Tree.MakeFolder("many/f" + std::to_string(i) + "/g");
    QOXRing* ring = Open();
    Sub(*ring->Root, "small")->Expand();
    ring->Relayout();
    Pump(); // the count starts after the frame's drawing, and the next frame shows it
    Pump();
    EXPECT_TRUE(Window.Panels[QAStatusPanel::Counting].starts_with("Counting… "));
    EXPECT_TRUE(Window.Panels[QAStatusPanel::Counting].ends_with(" folders"));
    ASSERT_TRUE(CountToTheEnd(ring));
    EXPECT_EQ(Window.Panels[QAStatusPanel::Counting], "");

    const std::vector<std::string> folders{"", "small/", "small/deeper/", "large/", "links/", "special/", "empty/"};
    for (const std::string& relative : folders) {
        QREFolder* folder = ring->Root;
        for (std::size_t start = 0; start < relative.size(); start = relative.find('/', start) + 1)
            folder = Sub(*folder, relative.substr(start, relative.find('/', start) - start));
        ASSERT_NE(folder, nullptr) << relative;
        const FileTree::Sums sums = Tree.SumsBelow(relative);
        const QRFolderCount count = ring->Sizes->CountOf(*folder);
        EXPECT_EQ(count.State, QRCountState::Known) << relative;
        EXPECT_EQ(folder->Size, sums.Bytes) << relative;
        EXPECT_EQ(count.Totals.Files, sums.Files) << relative;
        EXPECT_EQ(count.Totals.Folders, sums.Folders) << relative;
    }
    EXPECT_EQ(Sub(*ring->Root, "links")->Size, 4000);
    EXPECT_EQ(Sub(*ring->Root, "special")->Size, 0);
    const QREFolder* link = Sub(*ring->Root, "elsewhere");
    EXPECT_EQ(ring->Sizes->CountOf(*link).State, QRCountState::Link);
    EXPECT_EQ(link->Size, 0);
    EXPECT_EQ(ChildNamed(*ring->Root, "top.txt")->Size, 10);
    // Shares before the weight of the expanded "small" widens it: the largest gets 1, the others
    // "MinimumSizeFactor" (a quarter) and a little.
    const auto share = [](const QRElement* child) { return (child->EndAngle - child->StartAngle) / child->Weight(); };
    const QRElement* large = Sub(*ring->Root, "large");
    ring->Root->ForEachChild([&](const QRElement* child) {
        EXPECT_TRUE(child == large || share(child) < share(large) * 0.3f) << child->Name;
    });
}

// New sizes ease in over a few frames, as the weights do, and end exactly where they lead.
TEST_F(SizesTest, NewSizesEaseIntoTheLayout)
{
    Tree.File("big/data.bin", 90000);
    Tree.File("little/data.bin", 10);
    QOXRing* ring = Open();
    const QRElement* big = Sub(*ring->Root, "big");
    const float before = SectorOf(big);
    EXPECT_FLOAT_EQ(before, 180.0f);
    // The shares change once both sizes are known; under load the second may come frames later.
    const QRElement* little = Sub(*ring->Root, "little");
    ASSERT_TRUE(PumpUntil([&] { return big->Size == 90000 && little->Size == 10; }));
    std::vector<float> sectors{SectorOf(big)};
    for (int frame = 0; frame < 10; ++frame) {
        Pump();
        sectors.push_back(SectorOf(big));
    }
    const float after = sectors.back();
    EXPECT_GT(after, 250.0f);
    EXPECT_TRUE(std::any_of(sectors.begin(), sectors.end(), [&](float s) { return s > before + 1.0f && s < after - 1.0f; }));
    EXPECT_TRUE(std::is_sorted(sectors.begin(), sectors.end()));
    EXPECT_FLOAT_EQ(sectors[sectors.size() - 2], after);
    const std::uint64_t layouts = ring->LayoutCount; // arrived: the ring rests, as after a weight animation
    for (int frame = 0; frame < 5; ++frame)
        Pump();
    EXPECT_EQ(ring->LayoutCount, layouts);
    EXPECT_FALSE(ring->LayoutNeeded);
}

// Turned off, rings are sized as they were without it; turned on again, they are counted again.
TEST_F(SizesTest, OffGivesTheRingsAsDesigned)
{
    Tree.File("docs/a.txt", 3000);
    Tree.File("docs/b.txt", 12);
    Tree.File("music/x.mp3", 40000);
    Tree.File("readme.md", 2000);
    for (const bool fileSizes : {false, true}) {
        Settings().CountFolderSizesInBackground = false;
        Settings().ComputeFileSizeAutomatically = fileSizes;
        TheApp->CloseAllRings();
        QOXRing* ring = Open();
        for (int frame = 0; frame < 20; ++frame)
            Pump();
        const auto designed = Picture(*ring->Root);
        EXPECT_EQ(ring->Sizes, nullptr);
        EXPECT_FALSE(TheApp->Sizes->Counting());

        Settings().CountFolderSizesInBackground = true;
        ASSERT_TRUE(CountToTheEnd(ring));
        EXPECT_EQ(ring->Root->Size, 45012);
        EXPECT_NE(Picture(*ring->Root), designed);

        Settings().CountFolderSizesInBackground = false;
        for (int frame = 0; frame < 20; ++frame)
            Pump();
        EXPECT_EQ(Picture(*ring->Root), designed) << fileSizes;
        EXPECT_EQ(ring->Sizes, nullptr);
        EXPECT_FALSE(TheApp->Sizes->Counting());
    }
}

// A ring closed, re-rooted or freed with the application while its folders are being counted:
// the workers only ever read the disk, and nothing of the old count reaches an element.
TEST_F(SizesTest, ClosingARingMidCountLeavesNothingBehind)
{
    for (int i = 0; i < 400; ++i)
        Tree.File("many/f" + std::to_string(i) + "/g/file", 1);
    Tree.File("few/one.txt", 77);
    QOXRing* doomed = Open("many");
    Pump();
    TheApp->CloseRing(doomed);
    QOXRing* kept = Open("few");
    ASSERT_TRUE(CountToTheEnd(kept));
    EXPECT_EQ(kept->Root->Size, 77);

    QOXRing* moved = Open("many/f1");
    Pump();
    moved->UpOneLevel(); // the count starts again on the new folder
    ASSERT_TRUE(CountToTheEnd(moved));
    EXPECT_EQ(moved->Root->Size, 400);
    EXPECT_EQ(Sub(*moved->Root, "f1")->Size, 1);

    TheApp->CloseAllRings();
    Open("many");
    Pump(); // the application is freed while this count runs
}

// The current ring counts; a minimised one waits until it is shown.
TEST_F(SizesTest, MinimisedRingsWaitUntilShown)
{
    Tree.File("first/a.txt", 5);
    Tree.File("second/b.txt", 6);
    Settings().CountFolderSizesInBackground = false;
    QOXRing* waiting = Open("first");
    QOXRing* current = Open("second");
    for (int frame = 0; frame < 20; ++frame)
        Pump();
    ASSERT_TRUE(waiting->IsFullyMinimized());
    Settings().CountFolderSizesInBackground = true;
    ASSERT_TRUE(CountToTheEnd(current));
    EXPECT_EQ(current->Root->Size, 6);
    EXPECT_EQ(waiting->Sizes->Progress().FoldersCounted, 0);
    EXPECT_EQ(waiting->Sizes->CountOf(*waiting->Root).State, QRCountState::Counting);
    EXPECT_EQ(waiting->Root->Size, -1);
    TheApp->SetCurrentRing(waiting);
    ASSERT_TRUE(CountToTheEnd(waiting));
    EXPECT_EQ(waiting->Root->Size, 5);
}

// A ring on a folder with a size history opens with the recorded sizes, says so, and moves to the
// counted ones as they come; its count then joins the history. With "RecordSizeHistory" off the
// history is neither read nor written.
TEST_F(SizesTest, RingsOpenWithTheRecordedSizesThenTheCountedOnes)
{
    for (int i = 0; i < 300; ++i)
        Tree.File("b/f" + std::to_string(i) + "/x", 10);
    Tree.File("a/x.bin", 1000);
    Tree.File("other/y", 1);
    const std::int64_t dec3 = *platform::ParseLocalDate("2026-12-03T10:00");
    const std::string history = platform::HistoryPathOf(Tree.Root(), platform::SizeHistoryFolder());
    for (const bool recording : {true, false}) {
        std::filesystem::remove(history);
        platform::CountRecord record{Tree.Root(), dec3, platform::CountExtent::Complete,
                                     {{"", {9000, 9000, 3, 2}}, {"a/", {7000, 7000, 2, 0}}, {"b/", {2000, 2000, 1, 0}}}, 10, {}};
        ASSERT_TRUE(platform::RecordCount(history, record).Recorded);
        Settings().RecordSizeHistory = recording;
        Settings().CountFolderSizesInBackground = false;
        TheApp->CloseAllRings();
        QOXRing* ring = Open();
        Open("other"); // the first ring waits, minimised, with its folders asked about
        for (int frame = 0; frame < 20; ++frame)
            Pump();
        ASSERT_TRUE(ring->IsFullyMinimized());
        Settings().CountFolderSizesInBackground = true;
        Pump();
        QREFolder* a = Sub(*ring->Root, "a");
        const QRFolderCount waiting = ring->Sizes->CountOf(*a);
        EXPECT_EQ(waiting.State, QRCountState::Counting);
        EXPECT_EQ(a->Size, recording ? 7000 : -1) << recording;
        EXPECT_EQ(waiting.RecordedAt, recording ? std::optional<std::int64_t>(dec3) : std::nullopt);
        EXPECT_EQ(waiting.Totals.Files, recording ? 2 : 0);
        EXPECT_EQ(ring->Root->Size, recording ? 9000 : -1);

        TheApp->SetCurrentRing(ring);
        Pump();
        const std::string status = Window.Panels[QAStatusPanel::Counting];
        if (recording)
            EXPECT_EQ(status, "Counting… sizes from " + platform::DayMonthText(dec3));
        else
            EXPECT_TRUE(status.starts_with("Counting… ") && status.ends_with(" folders")) << status;
        ASSERT_TRUE(CountToTheEnd(ring));
        EXPECT_EQ(a->Size, 1000);
        EXPECT_EQ(ring->Sizes->CountOf(*a).RecordedAt, std::nullopt);
        EXPECT_EQ(Sub(*ring->Root, "b")->Size, 3000);
        EXPECT_EQ(ring->Sizes->RecordedTime(), std::nullopt);

        platform::SizeHistory read;
        ASSERT_EQ(platform::ReadHistoryFile(history, read).Outcome, platform::HistoryRead::Read);
        ASSERT_EQ(read.Counts.size(), recording ? 2u : 1u) << recording;
        EXPECT_EQ(read.Newest()->Find(*read.IndexOf("a/"))->Bytes, recording ? 1000 : 7000);
    }
}

// A count recorded as another session (or the server's counter) would have made it.
void RecordCountOf(const std::string& folder, std::int64_t time)
{
    const platform::CountSnapshot snapshot = platform::CountWhole(folder, platform::VolumeCrossing::EnterOtherVolumes);
    const platform::CountRecord record{folder, time, platform::CountExtent::Complete, platform::EntriesOf(snapshot), 10, {}};
    ASSERT_TRUE(platform::RecordCount(platform::HistoryPathOf(folder, platform::SizeHistoryFolder()), record).Recorded);
}

// "Show Growth" against the previous count, on trees changed since: every folder's size then and
// now is what the test finds on the disk before and after the change, the colours follow the
// change, and each folder names what went from it since.
TEST_F(SizesTest, GrowthPerFolderIsWhatTheTestSeesChange)
{
    constexpr std::int64_t kMiB = 1 << 20;
    struct Case {
        const char* Name;
        void (*Change)(const FileTree&);
        std::set<std::string> Grown; // the folders that grew
        QRRemoved LogsRemoved; // what went from logs/ since
    };
    const Case cases[] = {
        {"a file grown", [](const FileTree& t) { t.File("logs/app.log", 5 * kMiB); }, {"", "logs/"}, {}},
        {"files added", [](const FileTree& t) { t.File("docs/new/big.iso", 3 * kMiB); t.File("docs/b.txt", 50); }, {"", "docs/"}, {}},
        {"a file removed", [](const FileTree& t) { t.Remove("logs/app.log"); }, {}, {1, 2 * kMiB}},
        {"a file moved", [](const FileTree& t) { std::filesystem::rename(t.PathOf("logs/app.log"), t.PathOf("docs/app.log")); },
         {"docs/"}, {1, 2 * kMiB}},
        {"a folder replaced", [](const FileTree& t) { t.Remove("logs/old"); t.File("logs/old/other", 4 * kMiB); },
         {"", "logs/", "logs/old/"}, {}},
    };
    Settings().ShowGrowth = true;
    Settings().GrowthSince = "previous";
    for (const Case& test : cases) {
        TheApp->CloseAllRings();
        FileTree tree;
        tree.File("logs/app.log", 2 * kMiB);
        tree.File("logs/old/a.log", kMiB);
        tree.File("docs/a.txt", 1000);
        RecordCountOf(tree.Root(), *platform::ParseLocalDate("2026-12-01T09:00"));
        std::map<std::string, std::int64_t> before;
        for (const std::string folder : {"", "logs/", "logs/old/", "docs/"})
            before[folder] = tree.SumsBelow(folder).Bytes;
        test.Change(tree);

        QOXRing* ring = TheApp->CreateRing(tree.Root());
        ring->Root->ExpandAll();
        ring->Relayout();
        ASSERT_TRUE(CountToTheEnd(ring)) << test.Name;
        ASSERT_NE(ring->Sizes->Growth, nullptr) << test.Name;
        const QRRingGrowth& growth = *ring->Sizes->Growth;
        for (const auto& [folder, then] : before) {
            QREFolder* element = ring->Root;
            for (std::size_t start = 0; start < folder.size() && element != nullptr; start = folder.find('/', start) + 1)
                element = Sub(*element, folder.substr(start, folder.find('/', start) - start));
            if (element == nullptr)
                continue;
            const QRChange change = growth.ChangeOf(*element);
            EXPECT_EQ(change.Before, then) << test.Name << ": " << folder;
            EXPECT_EQ(change.After, tree.SumsBelow(folder).Bytes) << test.Name << ": " << folder;
            const QAGrowth kind = GrowthOf(change.Before, change.After, 1, 1);
            EXPECT_EQ(kind.Kind == QAGrowthKind::Grew, test.Grown.contains(folder)) << test.Name << ": " << folder;
            const QXColor colour = element->Colour;
            EXPECT_EQ(colour.X > colour.Z, kind.Kind == QAGrowthKind::Grew) << test.Name << ": " << folder;
        }
        const QRRemoved removed = growth.RemovedFrom(*Sub(*ring->Root, "logs"));
        EXPECT_EQ(removed.Items, test.LogsRemoved.Items) << test.Name;
        EXPECT_EQ(removed.Bytes, test.LogsRemoved.Bytes) << test.Name;
    }
    Settings().ShowGrowth = false;
    Pump();
    EXPECT_EQ(TheApp->RingAt(0)->Sizes->Growth, nullptr);
    EXPECT_EQ(Sub(*TheApp->RingAt(0)->Root, "logs")->Colour, TheApp->FolderColour) << "off, the rings have their own colours";
}

// Made, renamed and removed by another program: each shows on the ring within a second of real
// time, and the totals follow.
TEST_F(SizesTest, ChangesOnTheDiskShowOnTheRingWithinASecond)
{
    Tree.File("sub/old.txt", 100);
    QOXRing* ring = Open();
    QREFolder* sub = Sub(*ring->Root, "sub");
    sub->Expand();
    ring->Relayout();
    ASSERT_TRUE(CountToTheEnd(ring));

    namespace fs = std::filesystem;
    struct Change {
        const char* What;
        std::function<void()> Make;
        std::function<bool()> Shown;
    };
    const Change changes[] = {
        {"made", [&] { Tree.File("sub/new.txt", 5000); }, [&] { return ChildNamed(*sub, "new.txt") != nullptr; }},
        {"renamed", [&] { fs::rename(Tree.PathOf("sub/new.txt"), Tree.PathOf("sub/renamed.txt")); },
         [&] { return ChildNamed(*sub, "new.txt") == nullptr && ChildNamed(*sub, "renamed.txt") != nullptr; }},
        {"removed", [&] { Tree.Remove("sub/old.txt"); }, [&] { return ChildNamed(*sub, "old.txt") == nullptr; }},
        {"made at the root", [&] { Tree.File("root.txt", 7); }, [&] { return ChildNamed(*ring->Root, "root.txt") != nullptr; }},
        {"folder made", [&] { Tree.File("sub/inner/deep.txt", 30); }, [&] { return Sub(*sub, "inner") != nullptr; }},
    };
    for (const Change& change : changes) {
        change.Make();
        EXPECT_TRUE(PumpUntil(change.Shown, 1000ms)) << change.What;
        EXPECT_TRUE(PumpUntil([&] { return ring->Root->Size == Tree.SumsBelow("").Bytes; })) << change.What;
    }
    EXPECT_EQ(sub->Size, 5030);
}

// With the watches used up, the folders left unwatched follow the disk at the timed refresh, and
// the console says so once.
TEST_F(SizesTest, BeyondTheWatchLimitRingsFallBackToTheTimedRefresh)
{
    Tree.MakeFolder("a");
    Tree.MakeFolder("b");
    TheApp->Sizes->LimitWatches(1);
    QOXRing* ring = Open();
    for (const char* name : {"a", "b"})
        Sub(*ring->Root, name)->Expand();
    ring->Relayout();
    NewLogLines();
    Pump();
    const auto saidSo = [](const std::vector<std::string>& lines) {
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.starts_with("Folder watches:"); });
    };
    EXPECT_EQ(saidSo(NewLogLines()), 1);

    Tree.File("a/late.txt", 3);
    const int frames = static_cast<int>(QASizes::kUnwatchedRefreshSeconds / 0.05f); // 50 ms each
    for (int frame = 1; frame < frames - 10; ++frame)
        Pump();
    EXPECT_EQ(ChildNamed(*Sub(*ring->Root, "a"), "late.txt"), nullptr);
    for (int frame = 0; frame < 20; ++frame)
        Pump();
    EXPECT_NE(ChildNamed(*Sub(*ring->Root, "a"), "late.txt"), nullptr);
    Tree.MakeFolder("c");
    ring->Refresh();
    Sub(*ring->Root, "c")->Expand();
    ring->Relayout();
    Pump();
    EXPECT_EQ(saidSo(NewLogLines()), 0);
}

} // namespace
