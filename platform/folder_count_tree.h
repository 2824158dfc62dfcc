#pragma once
// The folder counter's own picture of one tree of folders: a node per folder with what its own
// entries hold, its totals once everything below is known, and the work still to do. Nodes and
// trees are touched only under the counter's lock; the disk is read outside it (ReadFolder).
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/folder_count.h"

namespace platform::counting {

struct InodeKey {
    dev_t Device = 0;
    ino_t Inode = 0;
    bool operator==(const InodeKey&) const = default;
};

struct InodeKeyHash {
    std::size_t operator()(const InodeKey& key) const
    {
        return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(key.Inode) * 1000003u ^ static_cast<std::uint64_t>(key.Device));
    }
};

// What tells a folder apart from the one that was there before: a new identity or a new time of
// change of its entries.
struct FolderStamp {
    InodeKey Identity;
    std::int64_t ModifiedSeconds = 0;
    std::int64_t ModifiedNanoseconds = 0;
    bool operator==(const FolderStamp&) const = default;
};

enum class NodeKind { Counted, Unreadable, OtherVolume, PseudoFileSystem };

struct Node {
    Node* Parent = nullptr; // not owned; null for the tree's folder
    std::string Name;       // own name without "/"; empty for the tree's folder
    // Owned, shared with the jobs that name them; sorted by name.
    std::vector<std::shared_ptr<Node>> Children;
    bool Alive = true;  // false once dropped from the tree (a job may still hold it)
    bool Urgent = false; // the caller asked for this subtree first
    NodeKind Kind = NodeKind::Counted;
    bool Stamped = false;
    FolderStamp Stamp;
    std::int64_t OwnBytes = 0;
    std::int64_t OwnAllocated = 0;
    std::int64_t OwnFiles = 0;
    std::vector<CountedFile> LargeFiles; // its own files of kSnapshotFileBytes or more, Path its name
    std::vector<InodeKey> Claimed; // files with several links whose bytes this folder holds
    int Pending = 1;               // its own reading plus every child not complete yet
    FolderTotals Totals;           // valid while Pending is 0
};

// List: read the folder's entries. Check: read them only when the folder's stamp changed, and
// check the sub-folders in turn.
enum class JobKind { List, Check };

struct Job {
    std::shared_ptr<Node> Target;
    JobKind Kind = JobKind::List;
};

// What one job asks of the disk; copied out of the tree so that the read needs no lock.
struct ReadRequest {
    std::string Path;
    JobKind Kind = JobKind::List;
    bool TreeFolder = false;   // the tree's own folder: followed if it is a link, never a mount
    dev_t ParentDevice = 0;
    bool Stamped = false;
    FolderStamp Previous;
    VolumeCrossing Crossing = VolumeCrossing::EnterOtherVolumes;
};

struct LinkedFile {
    InodeKey Key;
    std::int64_t Size = 0;
    std::int64_t Allocated = 0;
    std::string Name; // only for files of kSnapshotFileBytes or more
};

enum class ReadOutcome { Listed, Unchanged, Vanished, Unreadable, OtherVolume, PseudoFileSystem };

// What a read found: the folder's own files and the names of its sub-folders (sorted).
struct FolderRead {
    ReadOutcome Outcome = ReadOutcome::Vanished;
    FolderStamp Stamp;
    std::int64_t Bytes = 0; // files with one link only
    std::int64_t Allocated = 0;
    std::int64_t Files = 0;
    std::vector<LinkedFile> Linked;
    std::vector<CountedFile> LargeFiles; // with one link only; Path is the name
    std::vector<std::string> Folders;
    bool Abandoned = false; // given up midway: nothing of it counts
};

// Empties what a read found of the entries (a folder that could not be read to its end holds none).
void ForgetEntries(FolderRead& read);

// The type of the file system on a device ("" when the mount table does not know it).
using DeviceTypeOf = std::function<std::string(dev_t)>;

// Whether a read should give up (the counter stops, or the tree was dropped); asked every few
// hundred entries, so that a folder of a million files never holds up the end of the program.
using ReadAbandoned = std::function<bool()>;

// Reads one folder: never follows a link, never opens anything but folders (a pipe never blocks),
// asks one status call per regular file and folder entry and none for links, pipes and sockets.
FolderRead ReadFolder(const ReadRequest& request, const DeviceTypeOf& typeOf, const ReadAbandoned& abandoned = {});

struct Tree {
    CountTreeId Id = 0;
    std::string Folder; // ends in "/"
    VolumeCrossing Crossing = VolumeCrossing::EnterOtherVolumes;
    CountStanding Standing = CountStanding::Current;
    bool Alive = true;
    std::atomic<bool> Dropped{false}; // !Alive, for a worker reading without the lock
    std::shared_ptr<Node> Root;
    std::vector<Job> UrgentJobs; // stacks: the newest first, so subtrees finish one by one
    std::vector<Job> OtherJobs;
    int Running = 0;
    std::int64_t Counted = 0;
    std::uint64_t Passes = 0; // times it fell idle
    std::unordered_map<std::string, CountTicket> Wanted;
    std::set<std::string> UrgentFolders;
    std::unordered_map<InodeKey, Node*, InodeKeyHash> Claims; // not owned
    bool RecheckDue = false;
    std::set<std::string> RecountsDue;

    bool Busy() const { return Running > 0 || !UrgentJobs.empty() || !OtherJobs.empty(); }
    ReadRequest RequestFor(const Node& node, JobKind kind) const;
    std::string RelativeOf(const Node& node) const;

    // Starts the first count.
    void Begin();
    // Takes in what a job read, queues what follows, and completes what is complete.
    void Apply(Node& node, JobKind kind, FolderRead& read, std::vector<CountResult>& results);
    // A new pass over an idle tree: every folder checked, or one folder read again.
    void BeginRecheck();
    void BeginRecount(const std::string& folder);
    void SetUrgent(const std::vector<std::string>& folders);
    void Want(const CountWant& want, std::vector<CountResult>& results);
    void TakeSnapshot(CountSnapshot& snapshot) const;

private:
    void Push(const std::shared_ptr<Node>& node, JobKind kind);
    bool IsUrgent(const Node& node) const;
    std::shared_ptr<Node> NewChild(Node& parent, const std::string& name);
    void TakeOwnFiles(Node& node, FolderRead& read);
    void MergeFolders(Node& node, JobKind kind, const std::vector<std::string>& names);
    void Drop(Node& node);
    void ReleaseClaims(Node& node);
    void Complete(Node* node, std::vector<CountResult>& results);
    void Report(const Node& node, std::vector<CountResult>& results) const;
    // The node of a relative folder, or the deepest node on its way there (`found` false).
    Node* Walk(const std::string& folder, bool& found) const;
    void MarkPending(Node& node);
    std::shared_ptr<Node> SharedOf(const Node& node) const;
    void ResetForCheck(Node& node);
    void AddToSnapshot(const Node& node, const std::string& relative, CountSnapshot& snapshot) const;
};

} // namespace platform::counting
