// The size history's commands over the application: a history opened as a ring of its own, the
// count growth is shown against, and What Grew with its entries shown on the ring.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app_sizes.h"
#include "platform/date_text.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "ring/ring_history.h"
#include "ring/ring_sizes.h"
#include "tests/app/command_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

using namespace std::chrono_literals;
constexpr std::int64_t kMiB = 1 << 20;

// A count of a folder as the server's counter records it, into `path`.
void RecordInto(const std::string& path, const std::string& folder, std::int64_t time)
{
    const platform::CountSnapshot snapshot = platform::CountWhole(folder, platform::VolumeCrossing::EnterOtherVolumes);
    ASSERT_TRUE(platform::RecordCount(path, {folder, time, platform::CountExtent::Complete, platform::EntriesOf(snapshot), 10, {}})
                    .Recorded);
}

std::vector<std::pair<std::string, std::int64_t>> ChildrenOf(const QREFolder& folder)
{
    std::vector<std::pair<std::string, std::int64_t>> children;
    folder.ForEachChild([&](const QRElement* child) { children.emplace_back(std::string(child->Name), child->Size); });
    std::sort(children.begin(), children.end());
    return children;
}

// A history recorded elsewhere opens as a ring of the count's folders, large files and, per
// folder, its smaller files together, sized as recorded; the disk is never read for it (here the
// folder is gone meanwhile), it is not counted, and a refresh keeps it. What cannot be read is
// refused with the reason.
TEST_F(CommandTest, AHistoryOpensAsARingOfTheRecordedTree)
{
    Tree.File("media/film.mkv", 3 * kMiB);
    Tree.File("media/notes.txt", 100);
    Tree.File("docs/a.txt", 1000);
    Tree.File("docs/b.txt", 2000);
    Tree.File("big.iso", 2 * kMiB);
    Tree.File("small.txt", 10);
    const std::string file = ProgramFolder.Path() + "server.orbivane-sizes";
    RecordInto(file, Tree.Root(), *platform::ParseLocalDate("2026-12-03T10:00"));
    Tree.Remove("docs");

    Dialogs.Typed = file;
    TheApp->OpenSizeHistory();
    EXPECT_EQ(Dialogs.HistoryFolder, platform::SizeHistoryFolder());
    QOXRing* ring = TheApp->CurrentRing;
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(ring->History, nullptr);
    EXPECT_EQ(ring->Folder, platform::ThisHost() + ":" + Tree.Root());
    EXPECT_EQ(ring->Root->Size, 3 * kMiB + 100 + 3000 + 2 * kMiB + 10);
    using Children = std::vector<std::pair<std::string, std::int64_t>>;
    EXPECT_EQ(ChildrenOf(*ring->Root),
              (Children{{"(1 smaller file)", 10}, {"big.iso", 2 * kMiB}, {"docs/", 3000}, {"media/", 3 * kMiB + 100}}));
    auto* docs = static_cast<QREFolder*>(ChildNamed(*ring->Root, "docs/"));
    docs->Expand();
    EXPECT_EQ(ChildrenOf(*docs), (Children{{"(2 smaller files)", 3000}}));

    Settings().CountFolderSizesInBackground = true;
    Pump();
    EXPECT_EQ(ring->Sizes, nullptr) << "nothing of it is counted";
    TheApp->RefreshAll();
    EXPECT_EQ(TheApp->CurrentRing, ring);
    EXPECT_NE(ChildNamed(*ring->Root, "docs/"), nullptr) << "the disk is never asked";
    ring->UpOneLevel();
    EXPECT_EQ(ring->Folder, platform::ThisHost() + ":" + Tree.Root());

    Desktop.Boxes.clear();
    const std::string damaged = ProgramFolder.Write("damaged.orbivane-sizes", "ORBSIZES\x01 cut short");
    const std::string pipe = MakeHostileFile(ProgramFolder.Path() + "pipe.orbivane-sizes", HostileFile::Fifo);
    for (const std::string& path : {damaged, pipe, ProgramFolder.Path() + "missing.orbivane-sizes"}) {
        EXPECT_EQ(TheApp->OpenSizeHistoryFile(path), nullptr) << path;
        EXPECT_TRUE(LastBox().starts_with("Size history \"" + path + "\" cannot be opened: ")) << LastBox();
    }
    EXPECT_EQ(TheApp->CurrentRing, ring);
}

// Growth Since offers the previous count and every recorded count of the current ring, newest
// first, and takes the one chosen; What Grew lists what grew since it and shows a picked entry on
// the ring, its folders expanded on the way.
TEST_F(CommandTest, GrowthSinceAndWhatGrew)
{
    Settings().CountFolderSizesInBackground = true;
    Tree.File("logs/2026/app.log", 2 * kMiB);
    Tree.File("docs/a.txt", 1000);
    const std::string history = platform::HistoryPathOf(Tree.Root(), platform::SizeHistoryFolder());
    const std::int64_t dec1 = *platform::ParseLocalDate("2026-12-01T09:00");
    const std::int64_t dec2 = *platform::ParseLocalDate("2026-12-02T09:00");
    RecordInto(history, Tree.Root(), dec1);
    Tree.File("logs/2026/app.log", 3 * kMiB);
    RecordInto(history, Tree.Root(), dec2);
    Tree.File("logs/2026/app.log", 7 * kMiB);

    QOXRing* ring = TheApp->CreateRing(Tree.Root());
    Dialogs.Choice = 2;
    TheApp->ChooseGrowthSince();
    EXPECT_EQ(Dialogs.Choices, (std::vector<std::string>{"Previous count", platform::DayMonthYearTimeText(dec2),
                                                         platform::DayMonthYearTimeText(dec1)}));
    EXPECT_EQ(Dialogs.ChoiceShown, 0);
    EXPECT_EQ(Settings().GrowthSince, platform::IsoMinuteText(dec1));
    EXPECT_TRUE(Settings().ShowGrowth);

    const auto deadline = std::chrono::steady_clock::now() + 20s;
    do {
        Pump();
        std::this_thread::sleep_for(1ms);
    } while ((ring->Sizes == nullptr || ring->Sizes->Progress().Busy) && std::chrono::steady_clock::now() < deadline);
    TheApp->ShowWhatGrew();
    ASSERT_TRUE(Dialogs.Report.has_value());
    EXPECT_EQ(Dialogs.Report->Since, dec1);
    EXPECT_EQ(Dialogs.Report->After - Dialogs.Report->Before, 5 * kMiB);
    ASSERT_FALSE(Dialogs.Report->Rows.empty());
    const QAGrowthRow& first = Dialogs.Report->Rows.front();
    EXPECT_EQ(first.Path, "logs/2026/app.log");
    EXPECT_EQ(first.Before, 2 * kMiB);
    EXPECT_EQ(first.After, 7 * kMiB);

    Dialogs.Reveal(first.Path);
    const auto* logs = static_cast<const QREFolder*>(ChildNamed(*ring->Root, "logs/"));
    ASSERT_TRUE(logs->Expanded);
    const auto* year = static_cast<const QREFolder*>(ChildNamed(*logs, "2026/"));
    ASSERT_TRUE(year->Expanded);
    EXPECT_EQ(ring->Target, ChildNamed(*year, "app.log")) << "the ring turns to it";
    Desktop.Boxes.clear();
    Dialogs.Reveal("logs/gone.log");
    EXPECT_EQ(LastBox(), "\"" + Tree.Root() + "logs/gone.log\" is no longer on the disk.");
}

} // namespace
