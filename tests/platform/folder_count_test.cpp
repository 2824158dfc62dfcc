#include "platform/folder_count.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include "platform/folder_count_tree.h"
#include "tests/support/file_tree.h"
#include "tests/support/private_mounts.h"

namespace {

using namespace std::chrono_literals;
using platform::CountResult;
using platform::CountStanding;
using platform::CountTicket;
using platform::CountTreeId;
using platform::CountWant;
using platform::FolderCounter;
using platform::FolderTotals;
using platform::VolumeCrossing;

constexpr auto kDeadline = 20s;

// Every result a counter hands out, kept in the order it came.
class Collector {
public:
    explicit Collector(FolderCounter& counter) : Counter(counter) {}

    // Takes results until the tree is idle and `wanted` of its tickets have answered since the
    // last Forget, or the deadline passed; the last totals of each of them.
    std::map<CountTicket, FolderTotals> Count(CountTreeId tree, std::size_t wanted)
    {
        const auto deadline = std::chrono::steady_clock::now() + kDeadline;
        for (;;) {
            const bool busy = Counter.Progress(tree).Busy; // asked first: idle means all is handed out
            std::vector<CountResult> results;
            Counter.TakeResults(results);
            All.insert(All.end(), results.begin(), results.end());
            std::map<CountTicket, FolderTotals> totals;
            for (const CountResult& result : All)
                if (result.Tree == tree)
                    totals[result.Ticket] = result.Totals;
            if ((totals.size() >= wanted && !busy) || std::chrono::steady_clock::now() > deadline)
                return totals;
            std::this_thread::sleep_for(1ms);
        }
    }
    void Forget() { All.clear(); }

    std::vector<CountResult> All;

private:
    FolderCounter& Counter;
};

std::vector<CountWant> Wants(const std::vector<std::string>& folders)
{
    std::vector<CountWant> wants;
    for (std::size_t i = 0; i < folders.size(); ++i)
        wants.push_back({folders[i], i + 1});
    return wants;
}

// Every folder of the table is counted as the test counts the disk itself: regular files' bytes
// (hard links once), every other entry a file of no bytes, links never followed, a pipe and a
// socket never opened, an unreadable folder named and skipped.
TEST(FolderCounter, TotalsAreWhatTheDiskHoldsBelowEachFolder)
{
    FileTree outside;
    outside.File("huge.bin", 50'000'000);
    FileTree tree;
    tree.File("a.txt", 1000);
    tree.File(".hidden", 300);
    tree.File("docs/b.pdf", 12000);
    tree.File("docs/deep/c.txt", 500);
    tree.File("docs/deep/.d", 7);
    tree.Link("docs/to-a", tree.PathOf("a.txt"));
    tree.File("links/first", 4000);
    tree.HardLink("links/second", "links/first");
    tree.File("split/x/original", 9000);
    tree.HardLink("split/y/again", "split/x/original");
    tree.Link("big-link", outside.Root());
    tree.Pipe("special/pipe");
    tree.Socket("special/socket");
    tree.MakeFolder("empty");
    tree.File("locked/inside.bin", 777);
    tree.UnreadableFolder("locked");
    const bool locked = FileTree::PermissionsApply();

    const std::vector<std::string> folders{"", "docs/", "docs/deep/", "links/", "special/", "empty/", "split/"};
    FolderCounter counter;
    const CountTreeId id = counter.StartTree(tree.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Current);
    counter.Want(id, Wants(folders));
    const auto totals = Collector(counter).Count(id, folders.size());
    ASSERT_EQ(totals.size(), folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const FileTree::Sums sums = tree.SumsBelow(folders[i]);
        const FolderTotals& counted = totals.at(i + 1);
        EXPECT_EQ(counted.Bytes, sums.Bytes) << '"' << folders[i] << '"';
        EXPECT_EQ(counted.Files, sums.Files) << '"' << folders[i] << '"';
        EXPECT_EQ(counted.Folders, sums.Folders) << '"' << folders[i] << '"';
        EXPECT_EQ(counted.Unreadable, folders[i].empty() && locked ? 1 : 0) << '"' << folders[i] << '"';
        EXPECT_EQ(counted.OtherVolumes + counted.PseudoFileSystems, 0);
    }
    EXPECT_EQ(totals.at(1).Bytes, 1000 + 300 + 12000 + 500 + 7 + 4000 + 9000 + (locked ? 0 : 777));
    EXPECT_EQ(totals.at(4).Bytes, 4000);
    EXPECT_EQ(totals.at(5), (FolderTotals{0, 2}));
    EXPECT_EQ(totals.at(7).Bytes, 9000); // one of x and y holds the shared file, never both
}

// In a mount namespace of the test's own: a tmpfs holding a file, and a proc file system.
TEST(FolderCounter, OtherVolumesAreEnteredUnlessToldNotAndKernelFileSystemsNever)
{
    if (!PrivateMounts::Enter())
        GTEST_SKIP() << "no mount namespace of our own here";
    FileTree tree;
    tree.File("local.txt", 100);
    tree.MakeFolder("volume");
    tree.MakeFolder("kernel");
    PrivateMounts mounts;
    ASSERT_TRUE(mounts.Mount("tmpfs", tree.PathOf("volume")));
    ASSERT_TRUE(mounts.Mount("proc", tree.PathOf("kernel")));
    tree.File("volume/far.txt", 5000);

    struct Case {
        VolumeCrossing Crossing;
        FolderTotals Root;
        FolderTotals Volume;
    };
    const Case cases[] = {
        {VolumeCrossing::EnterOtherVolumes, {5100, 2, 2, 0, 0, 1}, {5000, 1, 0, 0, 0, 0}},
        {VolumeCrossing::StayOnOneFileSystem, {100, 1, 2, 0, 1, 1}, {0, 0, 0, 0, 1, 0}},
    };
    for (const Case& test : cases) {
        FolderCounter counter;
        const CountTreeId id = counter.StartTree(tree.Root(), test.Crossing, CountStanding::Current);
        counter.Want(id, Wants({"", "volume/", "kernel/", "kernel/self/"}));
        const auto totals = Collector(counter).Count(id, 4);
        ASSERT_EQ(totals.size(), 4u);
        EXPECT_EQ(totals.at(1), test.Root);
        EXPECT_EQ(totals.at(2), test.Volume);
        EXPECT_EQ(totals.at(3), (FolderTotals{0, 0, 0, 0, 0, 1}));
        EXPECT_EQ(totals.at(4), totals.at(3)); // a folder behind one never entered answers as that one
    }
}

// Three folders of four levels each under `root`.
void MakeBranches(const FileTree& tree)
{
    for (const char* branch : {"a", "b", "c"})
        tree.File(std::string(branch) + "/1/2/3/file", 10);
}

int FirstIndex(const std::vector<CountResult>& order, CountTreeId tree, CountTicket lowest, CountTicket highest)
{
    const auto found = std::find_if(order.begin(), order.end(), [&](const CountResult& result) {
        return result.Tree == tree && result.Ticket >= lowest && result.Ticket <= highest;
    });
    return static_cast<int>(found - order.begin());
}

int LastIndex(const std::vector<CountResult>& order, CountTreeId tree, CountTicket lowest, CountTicket highest)
{
    int last = -1;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i].Tree == tree && order[i].Ticket >= lowest && order[i].Ticket <= highest)
            last = static_cast<int>(i);
    return last;
}

// One worker makes the order strict: the current tree before the one merely shown, urgent
// subtrees before the rest, and a waiting tree not at all until it is shown.
TEST(FolderCounter, WorkFollowsTheCurrentTreeAndUrgentFoldersWhileWaitingTreesWait)
{
    FileTree first;
    FileTree second;
    FileTree waiting;
    MakeBranches(first);
    MakeBranches(second);
    MakeBranches(waiting);
    const std::vector<std::string> folders{"a/", "a/1/", "a/1/2/", "b/", "b/1/", "b/1/2/", "c/", "c/1/", "c/1/2/", ""};
    FolderCounter counter(1);
    const CountTreeId shown = counter.StartTree(first.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Waiting);
    const CountTreeId current = counter.StartTree(second.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Waiting);
    const CountTreeId idle = counter.StartTree(waiting.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Waiting);
    for (const CountTreeId id : {shown, current, idle})
        counter.Want(id, Wants(folders));
    counter.SetUrgent(current, {"b/"});
    counter.SetStanding(current, CountStanding::Current);
    counter.SetStanding(shown, CountStanding::Shown);

    Collector collector(counter);
    collector.Count(current, folders.size());
    collector.Count(shown, folders.size());
    const std::vector<CountResult>& order = collector.All;
    EXPECT_LT(LastIndex(order, current, 1, 10), FirstIndex(order, shown, 1, 10));
    EXPECT_LT(LastIndex(order, current, 4, 6), FirstIndex(order, current, 1, 3)); // b before a
    EXPECT_LT(LastIndex(order, current, 4, 6), FirstIndex(order, current, 7, 9)); // b before c
    EXPECT_EQ(counter.Progress(idle).FoldersCounted, 0);
    EXPECT_TRUE(counter.Progress(idle).Busy);

    counter.SetStanding(idle, CountStanding::Shown);
    EXPECT_EQ(collector.Count(idle, folders.size()).at(10).Files, 3);
}

// A tree forgotten while its folders are being read hands out nothing more, while the other tree
// counts on; a counter freed in the middle of a count stops its workers.
TEST(FolderCounter, ForgettingATreeStopsItAtOnce)
{
    FileTree big;
    for (int i = 0; i < 300; ++i)
        big.File("f" + std::to_string(i) + "/g/file", 1);
    FileTree small;
    small.File("x/file", 5);
    FolderCounter counter;
    const CountTreeId doomed = counter.StartTree(big.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Current);
    const CountTreeId kept = counter.StartTree(small.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Shown);
    counter.Want(doomed, Wants({""}));
    counter.Want(kept, Wants({""}));
    Collector collector(counter);
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (counter.Progress(doomed).FoldersCounted < 20 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    counter.ForgetTree(doomed);
    EXPECT_FALSE(counter.Progress(doomed).Busy);
    EXPECT_EQ(collector.Count(kept, 1).at(1).Bytes, 5);
    EXPECT_TRUE(std::none_of(collector.All.begin(), collector.All.end(), [&](const CountResult& r) { return r.Tree == doomed; }));

    auto freed = std::make_unique<FolderCounter>();
    freed->StartTree(big.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Current);
    while (freed->WorkerThreadIds().empty())
        std::this_thread::yield();
    freed.reset();
}

// A refresh reads again only folders whose time changed: a file grown in place (its folder's time
// stays) is missed by it, and found by a recount of that folder, which a reported change asks for.
TEST(FolderCounter, RecheckReadsChangedFoldersAndRecountReadsOneFolder)
{
    FileTree tree;
    tree.File("stays/grows.bin", 100);
    tree.File("gets-more/one.bin", 10);
    FolderCounter counter;
    const CountTreeId id = counter.StartTree(tree.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Current);
    counter.Want(id, Wants({"", "stays/", "gets-more/", "new/"}));
    Collector collector(counter);
    EXPECT_EQ(collector.Count(id, 3).at(1).Bytes, 110);

    struct Step {
        const char* Change;
        bool Recount; // else a recheck of the whole tree
        std::int64_t Total;
    };
    const Step steps[] = {
        {"grow", false, 110},   // stays/ kept its time: not read again
        {"", true, 1010},       // read again on purpose
        {"add", false, 1060},   // gets-more/ changed its time
        {"folder", false, 1067}, // a new folder is counted whole
    };
    for (const Step& step : steps) {
        const std::string change = step.Change;
        if (change == "grow")
            tree.File("stays/grows.bin", 1000); // the same entry of its folder, a new size
        if (change == "add")
            tree.File("gets-more/two.bin", 50);
        if (change == "folder")
            tree.File("new/deeper/seven.bin", 7);
        if (step.Recount)
            counter.Recount(id, "stays/");
        else
            counter.Recheck(id);
        collector.Forget();
        const auto totals = collector.Count(id, step.Recount ? 2 : 3); // a recount reports its way up
        ASSERT_TRUE(totals.contains(1)) << step.Change;
        EXPECT_EQ(totals.at(1).Bytes, step.Total) << step.Change;
    }
}

// What a size history records of a count: every folder with its totals, blocks included, and the
// files of 1 MiB or more, a file with two names once.
TEST(FolderCounter, SnapshotHoldsEveryFolderAndEachLargeFileOnce)
{
    FileTree tree;
    const auto written = [&](const std::string& name, std::size_t size) {
        std::ofstream(tree.PathOf(name), std::ios::binary) << std::string(size, 'x');
    };
    tree.MakeFolder("a/b");
    written("a/small.txt", 1000);
    tree.File("a/sparse.bin", 2u << 20);
    written("a/b/exactly-1-MiB", 1u << 20);
    tree.File("c/just-under", (1u << 20) - 1);
    tree.HardLink("a/sparse-again", "a/sparse.bin");
    tree.MakeFolder("d");

    FolderCounter counter;
    const CountTreeId id = counter.StartTree(tree.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Current);
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (counter.Progress(id).Busy && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    platform::CountSnapshot snapshot;
    ASSERT_TRUE(counter.Snapshot(id, snapshot));
    EXPECT_EQ(snapshot.Extent, platform::SnapshotExtent::Complete);

    std::vector<std::string> folders;
    for (const platform::CountedFolder& folder : snapshot.Folders) {
        folders.push_back(folder.Folder);
        const FileTree::Sums sums = tree.SumsBelow(folder.Folder);
        EXPECT_EQ(folder.Totals.Bytes, sums.Bytes) << folder.Folder;
        EXPECT_EQ(folder.Totals.AllocatedBytes, sums.Allocated) << folder.Folder;
        EXPECT_EQ(folder.Totals.Files, sums.Files) << folder.Folder;
        EXPECT_EQ(folder.Totals.Folders, sums.Folders) << folder.Folder;
    }
    EXPECT_EQ(folders, (std::vector<std::string>{"", "a/", "a/b/", "c/", "d/"}));
    ASSERT_EQ(snapshot.Files.size(), 2u);
    EXPECT_EQ(snapshot.Files[0].Path, "a/b/exactly-1-MiB");
    EXPECT_EQ(snapshot.Files[0].AllocatedBytes, tree.SumsBelow("a/b/").Allocated);
    EXPECT_TRUE(snapshot.Files[1].Path == "a/sparse-again" || snapshot.Files[1].Path == "a/sparse.bin") << snapshot.Files[1].Path;
    EXPECT_EQ(snapshot.Files[1].Bytes, 2 << 20);
    EXPECT_FALSE(counter.Snapshot(id + 1, snapshot)) << "a tree it does not know";
}

// The workers run at idle disk and lowest processor priority; the one that works for the tree the
// user is looking at keeps the priority of the program, and counts that tree.
TEST(FolderCounter, WorkersRunAtIdlePriorityButTheWatchedTreesAtNormal)
{
    const int callers = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    FolderCounter counter(2);
    std::vector<int> threads;
    while ((threads = counter.WorkerThreadIds()).size() < 2 || counter.WatchedWorkerThreadId() == 0)
        std::this_thread::yield();
    for (const int thread : threads) {
        errno = 0;
        EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(thread)), 19);
        const long priority = ::syscall(SYS_ioprio_get, 1, thread);
        EXPECT_EQ(priority >> 13, 3) << "idle I/O class";
    }
    const int watched = counter.WatchedWorkerThreadId();
    EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(watched)), callers);
    EXPECT_NE(::syscall(SYS_ioprio_get, 1, watched) >> 13, 3);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())), callers) << "the caller keeps its own";

    FileTree tree;
    tree.File("a/b.bin", 40);
    const CountTreeId id = counter.StartTree(tree.Root(), VolumeCrossing::EnterOtherVolumes, CountStanding::Watched);
    counter.Want(id, Wants({""}));
    Collector collector(counter);
    EXPECT_EQ(collector.Count(id, 1).at(1).Bytes, 40);
}

// A read asked to give up stops within a few hundred entries and brings nothing back, so that a
// folder of a million files never holds up the end of the program or a dropped tree.
TEST(FolderCounter, AnAbandonedReadGivesUpAndCountsNothing)
{
    FileTree tree;
    for (int i = 0; i < 600; ++i)
        tree.File("f" + std::to_string(i), 1);
    platform::counting::ReadRequest request;
    request.Path = tree.Root();
    request.TreeFolder = true;
    const auto noType = [](dev_t) { return std::string(); };
    int asked = 0;
    const platform::counting::FolderRead kept =
        platform::counting::ReadFolder(request, noType, [&] { return ++asked > 100; });
    EXPECT_FALSE(kept.Abandoned);
    EXPECT_EQ(kept.Files, 600);
    EXPECT_GT(asked, 0);
    const platform::counting::FolderRead given = platform::counting::ReadFolder(request, noType, [] { return true; });
    EXPECT_TRUE(given.Abandoned);
    EXPECT_EQ(given.Files, 0);
    EXPECT_EQ(given.Bytes, 0);
}

} // namespace
