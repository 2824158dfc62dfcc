#include "platform/folder_count.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <span>
#include <thread>

#include "platform/folder_count_tree.h"
#include "platform/volumes.h"

namespace platform {

using counting::Job;
using counting::Tree;

namespace {

constexpr int kMinWorkers = 2;
constexpr int kMaxWorkers = 4;
// ioprio_set(2): the idle class gets the disk only when nobody else wants it.
constexpr int kIoPriorityWhoProcess = 1;
constexpr int kIoPriorityClassIdle = 3;
constexpr int kIoPriorityClassShift = 13;
constexpr int kLowestCpuPriority = 19;

// Applies to the calling thread alone: on Linux both calls take a thread id for "process".
void LowerThreadPriority()
{
    ::syscall(SYS_ioprio_set, kIoPriorityWhoProcess, 0, kIoPriorityClassIdle << kIoPriorityClassShift);
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLowestCpuPriority);
}

dev_t DeviceOf(const std::string& deviceId)
{
    unsigned int major = 0;
    unsigned int minor = 0;
    if (std::sscanf(deviceId.c_str(), "%u:%u", &major, &minor) != 2)
        return 0;
    return makedev(major, minor);
}

} // namespace

// The file-system type of each device, from the mount table, read again when a device turns up
// that it does not know (a volume mounted since). Shared by the workers.
class FolderCounter::DeviceTypes {
public:
    std::string TypeOf(dev_t device)
    {
        std::lock_guard guard(Lock);
        if (auto known = Types.find(device); known != Types.end())
            return known->second;
        for (const MountRecord& record : ReadMountTable())
            Types[DeviceOf(record.DeviceId)] = record.FileSystemType;
        return Types[device]; // unknown devices (a sub-volume) stay "" without another read
    }

private:
    std::mutex Lock;
    std::map<dev_t, std::string> Types; // guarded by Lock
};

int FolderCounter::DefaultWorkerCount()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), kMinWorkers, kMaxWorkers);
}

FolderCounter::FolderCounter(int workers) : Devices(std::make_unique<DeviceTypes>())
{
    for (int i = 0; i < std::max(1, workers); ++i)
        Workers.emplace_back([this](std::stop_token stop) { Work(stop, WorkerKind::Idle); });
    Workers.emplace_back([this](std::stop_token stop) { Work(stop, WorkerKind::Watched); });
}

FolderCounter::~FolderCounter()
{
    for (std::jthread& worker : Workers)
        worker.request_stop();
    Workers.clear();
}

// A thread's priority can be lowered but not raised again, so the watched tree has a worker of
// its own that keeps the priority it was made with.
void FolderCounter::Work(std::stop_token stop, WorkerKind kind)
{
    if (kind == WorkerKind::Idle)
        LowerThreadPriority();
    std::unique_lock lock(Lock);
    if (kind == WorkerKind::Idle)
        ThreadIds.push_back(static_cast<int>(::gettid()));
    else
        WatchedThreadId = static_cast<int>(::gettid());
    for (;;) {
        std::shared_ptr<Tree> tree;
        Job job;
        if (!WorkArrived.wait(lock, stop, [&] { return PickJob(kind, tree, job); }))
            return; // stopped
        Run(tree, job, lock, stop);
        if (!tree->Alive) { // forgotten meanwhile: its folders are freed without holding the others up
            job.Target.reset();
            lock.unlock();
            tree.reset();
            lock.lock();
        }
    }
}

// The watched tree's work first, then the current tree's, then that of the other trees on screen;
// within a tree the urgent subtrees first. Jobs of folders dropped since they were queued are
// thrown away here.
bool FolderCounter::PickJob(WorkerKind kind, std::shared_ptr<Tree>& picked, Job& job)
{
    static constexpr CountStanding kIdleOrder[] = {CountStanding::Watched, CountStanding::Current, CountStanding::Shown};
    const std::span<const CountStanding> order(kIdleOrder, kind == WorkerKind::Idle ? 3 : 1);
    for (const CountStanding standing : order) {
        for (const std::shared_ptr<Tree>& tree : Trees) {
            if (tree->Standing != standing)
                continue;
            for (std::vector<Job>* jobs : {&tree->UrgentJobs, &tree->OtherJobs}) {
                while (!jobs->empty()) {
                    job = std::move(jobs->back());
                    jobs->pop_back();
                    if (job.Target->Alive) {
                        picked = tree;
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

// Reads the folder without the lock; what it found counts only if neither the tree nor the folder
// was dropped in the meantime.
void FolderCounter::Run(const std::shared_ptr<Tree>& tree, Job& job, std::unique_lock<std::mutex>& lock,
                        const std::stop_token& stop)
{
    const counting::ReadRequest request = tree->RequestFor(*job.Target, job.Kind);
    ++tree->Running;
    lock.unlock();
    const Tree& reading = *tree;
    counting::FolderRead read = counting::ReadFolder(
        request, [this](dev_t device) { return Devices->TypeOf(device); },
        [&] { return stop.stop_requested() || reading.Dropped.load(std::memory_order_relaxed); });
    lock.lock();
    --tree->Running;
    if (!tree->Alive || read.Abandoned)
        return;
    if (job.Target->Alive)
        tree->Apply(*job.Target, job.Kind, read, Results);
    if (!tree->Busy())
        ++tree->Passes;
    Settle(*tree);
    if (tree->Busy())
        WorkArrived.notify_all();
}

// A tree that fell idle takes up the passes asked for while it was busy.
void FolderCounter::Settle(Tree& tree)
{
    if (tree.Busy())
        return;
    if (tree.RecheckDue) {
        tree.RecheckDue = false;
        tree.RecountsDue.clear();
        tree.BeginRecheck();
        return;
    }
    const std::set<std::string> recounts = std::move(tree.RecountsDue);
    tree.RecountsDue.clear();
    for (const std::string& folder : recounts)
        tree.BeginRecount(folder);
}

Tree* FolderCounter::Find(CountTreeId id) const
{
    const auto found = std::find_if(Trees.begin(), Trees.end(), [&](const auto& tree) { return tree->Id == id; });
    return found != Trees.end() ? found->get() : nullptr;
}

CountTreeId FolderCounter::StartTree(const std::string& folder, VolumeCrossing crossing, CountStanding standing)
{
    auto tree = std::make_shared<Tree>();
    tree->Folder = folder;
    tree->Crossing = crossing;
    tree->Standing = standing;
    tree->Begin();
    std::lock_guard guard(Lock);
    tree->Id = NextTree++;
    Trees.push_back(tree);
    WorkArrived.notify_all();
    return tree->Id;
}

void FolderCounter::ForgetTree(CountTreeId id)
{
    std::shared_ptr<Tree> forgotten; // freed after the lock is given back
    std::lock_guard guard(Lock);
    const auto found = std::find_if(Trees.begin(), Trees.end(), [&](const auto& tree) { return tree->Id == id; });
    if (found == Trees.end())
        return;
    forgotten = std::move(*found);
    forgotten->Alive = false;
    forgotten->Dropped = true;
    Trees.erase(found);
    std::erase_if(Results, [&](const CountResult& result) { return result.Tree == id; });
}

void FolderCounter::SetStanding(CountTreeId id, CountStanding standing)
{
    std::lock_guard guard(Lock);
    if (Tree* tree = Find(id); tree != nullptr && tree->Standing != standing) {
        tree->Standing = standing;
        WorkArrived.notify_all();
    }
}

void FolderCounter::SetUrgent(CountTreeId id, const std::vector<std::string>& folders)
{
    std::lock_guard guard(Lock);
    if (Tree* tree = Find(id))
        tree->SetUrgent(folders);
}

void FolderCounter::Want(CountTreeId id, const std::vector<CountWant>& wants)
{
    std::lock_guard guard(Lock);
    if (Tree* tree = Find(id))
        for (const CountWant& want : wants)
            tree->Want(want, Results);
}

void FolderCounter::Unwant(CountTreeId id, const std::string& folder)
{
    std::lock_guard guard(Lock);
    if (Tree* tree = Find(id))
        tree->Wanted.erase(folder);
}

void FolderCounter::Recheck(CountTreeId id)
{
    std::lock_guard guard(Lock);
    Tree* tree = Find(id);
    if (tree == nullptr)
        return;
    tree->RecheckDue = true;
    Settle(*tree);
    WorkArrived.notify_all();
}

void FolderCounter::Recount(CountTreeId id, const std::string& folder)
{
    std::lock_guard guard(Lock);
    Tree* tree = Find(id);
    if (tree == nullptr)
        return;
    tree->RecountsDue.insert(folder);
    Settle(*tree);
    WorkArrived.notify_all();
}

void FolderCounter::TakeResults(std::vector<CountResult>& results)
{
    results.clear();
    std::lock_guard guard(Lock);
    results.swap(Results);
}

bool FolderCounter::TryTakeResults(std::vector<CountResult>& results)
{
    results.clear();
    std::unique_lock guard(Lock, std::try_to_lock);
    if (!guard)
        return false;
    results.swap(Results);
    return true;
}

CountProgress FolderCounter::Progress(CountTreeId id) const
{
    std::lock_guard guard(Lock);
    return ProgressHeld(id);
}

bool FolderCounter::Snapshot(CountTreeId id, CountSnapshot& snapshot) const
{
    std::lock_guard guard(Lock);
    const Tree* tree = Find(id);
    if (tree == nullptr)
        return false;
    tree->TakeSnapshot(snapshot);
    return true;
}

std::optional<CountProgress> FolderCounter::TryProgress(CountTreeId id) const
{
    std::unique_lock guard(Lock, std::try_to_lock);
    if (!guard)
        return std::nullopt;
    return ProgressHeld(id);
}

CountProgress FolderCounter::ProgressHeld(CountTreeId id) const
{
    const Tree* tree = Find(id);
    if (tree == nullptr)
        return {};
    return {tree->Busy(), tree->Counted, tree->Passes};
}

std::vector<int> FolderCounter::WorkerThreadIds() const
{
    std::lock_guard guard(Lock);
    return ThreadIds;
}

int FolderCounter::WatchedWorkerThreadId() const
{
    std::lock_guard guard(Lock);
    return WatchedThreadId;
}

// Whoever waits for a whole count is looking at it: it counts at normal priority too.
CountSnapshot CountWhole(const std::string& folder, VolumeCrossing crossing)
{
    FolderCounter counter;
    const CountTreeId tree = counter.StartTree(folder, crossing, CountStanding::Watched);
    while (counter.Progress(tree).Busy)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    CountSnapshot snapshot;
    counter.Snapshot(tree, snapshot);
    return snapshot;
}

} // namespace platform
