#pragma once
// Folder sizes counted in the background. A small pool of worker threads reads the disk (and
// nothing else: no element, no ring, no window) at idle I/O and low CPU priority, and hands the
// totals of the folders it is asked about to whoever takes them, normally the GUI thread once a
// frame. One more worker stays at normal priority and works only for the tree the user is looking
// at, so that counting the ring in front of the user is no slower than `du -s`. Nothing here
// blocks on the disk while a caller holds the counter: callers only queue work and take results.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// What lies below a folder. Bytes are the apparent sizes of regular files, a file with several
// hard links counted once per tree; links are never followed, pipes, sockets and devices count 0.
// AllocatedBytes are the same files' blocks on the disk (less for sparse and compressed files, more
// for the slack of their last block).
struct FolderTotals {
    std::int64_t Bytes = 0;
    std::int64_t Files = 0;             // entries that are not folders, at every depth
    std::int64_t Folders = 0;           // folders below, counted or not
    std::int64_t Unreadable = 0;        // folders (this one included) whose entries could not be read
    std::int64_t OtherVolumes = 0;      // mounted volumes not entered ("stay on one file system")
    std::int64_t PseudoFileSystems = 0; // the kernel's own file systems, never entered
    std::int64_t AllocatedBytes = 0;

    bool operator==(const FolderTotals&) const = default;
};

// Files at least this large are named in a tree's snapshot, the others only summed up.
inline constexpr std::int64_t kSnapshotFileBytes = std::int64_t(1) << 20;

// A whole tree as counted: every folder whose count is complete (relative, "" for the tree's
// folder, "docs/old/" below) with its totals, and every file of at least kSnapshotFileBytes below
// those folders ("docs/old/film.mkv"), each with its bytes and blocks.
struct CountedFolder {
    std::string Folder;
    FolderTotals Totals;
};
struct CountedFile {
    std::string Path;
    std::int64_t Bytes = 0;
    std::int64_t AllocatedBytes = 0;
};
enum class SnapshotExtent { Complete, Partial };
struct CountSnapshot {
    SnapshotExtent Extent = SnapshotExtent::Partial; // Complete: the tree's folder and all below it
    std::vector<CountedFolder> Folders;              // sorted by Folder
    std::vector<CountedFile> Files;                  // sorted by Path
};

// A tree of folders being counted (one per ring), and the caller's name for one folder of it.
using CountTreeId = std::uint64_t;
using CountTicket = std::uint64_t;

struct CountResult {
    CountTreeId Tree = 0;
    CountTicket Ticket = 0;
    FolderTotals Totals;
};

// Which tree's work comes first: the one the user is looking at (the current ring of the active
// window), the current one, then the others on screen; waiting trees get none until they are shown
// again. Only the watched tree's work also runs at normal priority.
enum class CountStanding { Watched, Current, Shown, Waiting };

enum class VolumeCrossing { EnterOtherVolumes, StayOnOneFileSystem };

// A folder of a tree, relative to the tree's folder: "" for the tree's folder, "docs/old/" below.
struct CountWant {
    std::string Folder;
    CountTicket Ticket = 0;
};

struct CountProgress {
    bool Busy = false;               // work of the tree is queued or running
    std::int64_t FoldersCounted = 0; // folders read since the tree last fell idle
    std::uint64_t Passes = 0;        // times the tree fell idle: its count, and every recount after it
};

namespace counting {
struct Tree;
struct Job;
}

class FolderCounter {
public:
    // Two to four workers at idle priority, after the processors there are.
    static int DefaultWorkerCount();

    // `workers` at idle priority, and the watched tree's worker.
    explicit FolderCounter(int workers = DefaultWorkerCount());
    // Stops the workers; a folder being read is given up within a few hundred entries.
    ~FolderCounter();
    FolderCounter(const FolderCounter&) = delete;
    FolderCounter& operator=(const FolderCounter&) = delete;

    // Starts counting everything below `folder` (ending in "/").
    CountTreeId StartTree(const std::string& folder, VolumeCrossing crossing, CountStanding standing);
    // Drops the tree at once: its queued work goes, a worker reading one of its folders gives the
    // reading up, and no result of it is handed out any more.
    void ForgetTree(CountTreeId tree);
    void SetStanding(CountTreeId tree, CountStanding standing);
    // Folders (relative) whose whole subtrees are counted before the rest of the tree.
    void SetUrgent(CountTreeId tree, const std::vector<std::string>& folders);
    // Asks for the totals of folders: each is handed out once it is known, and again whenever a
    // later count changes it. A folder behind one that is not entered gets that folder's totals.
    void Want(CountTreeId tree, const std::vector<CountWant>& wants);
    void Unwant(CountTreeId tree, const std::string& folder);
    // Reads again every folder whose modification time (or identity) changed since it was read.
    void Recheck(CountTreeId tree);
    // Reads one folder's own entries again (a change reported for it), whatever its time says.
    void Recount(CountTreeId tree, const std::string& folder);
    // Moves the results since the last call into `results` (replacing what it held).
    void TakeResults(std::vector<CountResult>& results);
    CountProgress Progress(CountTreeId tree) const;
    // What the tree holds now (waits for the lock); false for a tree it does not know.
    bool Snapshot(CountTreeId tree, CountSnapshot& snapshot) const;
    // The same for a frame, which must not wait: a worker is preempted at its low priority now and
    // then while it holds the counter, so while one does these take nothing (false, none).
    bool TryTakeResults(std::vector<CountResult>& results);
    std::optional<CountProgress> TryProgress(CountTreeId tree) const;
    // The idle workers' thread ids, and the watched tree's worker's (for checking their priorities).
    std::vector<int> WorkerThreadIds() const;
    int WatchedWorkerThreadId() const;

private:
    class DeviceTypes;
    // Idle: any tree's work at the lowest priority. Watched: the watched tree's, at normal priority.
    enum class WorkerKind { Idle, Watched };

    void Work(std::stop_token stop, WorkerKind kind);
    bool PickJob(WorkerKind kind, std::shared_ptr<counting::Tree>& tree, counting::Job& job);
    counting::Tree* Find(CountTreeId tree) const;
    CountProgress ProgressHeld(CountTreeId tree) const;
    void Run(const std::shared_ptr<counting::Tree>& tree, counting::Job& job, std::unique_lock<std::mutex>& lock,
             const std::stop_token& stop);
    void Settle(counting::Tree& tree);

    mutable std::mutex Lock;
    std::condition_variable_any WorkArrived;
    std::vector<std::shared_ptr<counting::Tree>> Trees; // guarded by Lock
    std::vector<CountResult> Results;                   // guarded by Lock
    std::vector<int> ThreadIds;                         // guarded by Lock
    int WatchedThreadId = 0;                            // guarded by Lock
    CountTreeId NextTree = 1;                           // guarded by Lock
    std::unique_ptr<DeviceTypes> Devices;               // owned; has a lock of its own
    std::vector<std::jthread> Workers;                  // last: they stop before the rest goes
};

// Counts the whole tree below `folder` with a counter of its own and waits for the end: for those
// without frames to pace them (the command-line counter, tests, benchmarks).
CountSnapshot CountWhole(const std::string& folder, VolumeCrossing crossing);

} // namespace platform
