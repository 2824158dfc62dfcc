#include "platform/folder_count_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/paths.h"
#include "platform/volumes.h"

namespace platform::counting {

namespace {

// st_blocks counts units of 512 bytes whatever the file system's block size.
constexpr std::int64_t kBlockBytes = 512;

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

FolderStamp StampOf(const struct stat& status)
{
    // The change time moves with every change of the entries and with a change of the folder's
    // own permissions, which may make an unreadable folder readable.
    return {{status.st_dev, status.st_ino},
            static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec,
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

ReadOutcome FailureOf(int error)
{
    return error == ENOENT || error == ENOTDIR || error == ELOOP ? ReadOutcome::Vanished : ReadOutcome::Unreadable;
}

// One entry that is not known to be a folder: a regular file adds its bytes (held back when it
// has several links, so that the tree counts it once); anything else is a file of no bytes.
void AddEntry(int folderFd, const char* name, FolderRead& read)
{
    struct stat status {};
    if (::fstatat(folderFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            ++read.Files;
        return;
    }
    if (S_ISDIR(status.st_mode)) {
        read.Folders.emplace_back(name);
        return;
    }
    ++read.Files;
    if (!S_ISREG(status.st_mode))
        return;
    const auto bytes = static_cast<std::int64_t>(status.st_size);
    const std::int64_t allocated = static_cast<std::int64_t>(status.st_blocks) * kBlockBytes;
    const bool large = bytes >= kSnapshotFileBytes;
    if (status.st_nlink > 1) {
        read.Linked.push_back({{status.st_dev, status.st_ino}, bytes, allocated, large ? name : ""});
        return;
    }
    read.Bytes += bytes;
    read.Allocated += allocated;
    if (large)
        read.LargeFiles.push_back({name, bytes, allocated});
}

void ListEntries(DIR* directory, FolderRead& read, const ReadAbandoned& abandoned)
{
    constexpr unsigned kEntriesBetweenAsks = 256;
    const int folderFd = ::dirfd(directory);
    for (unsigned entries = 1;; ++entries) {
        if (entries % kEntriesBetweenAsks == 0 && abandoned && abandoned()) {
            read.Abandoned = true;
            return;
        }
        errno = 0;
        const dirent* record = ::readdir(directory);
        if (record == nullptr) {
            read.Outcome = errno == 0 ? ReadOutcome::Listed : ReadOutcome::Unreadable;
            return;
        }
        if (IsDotEntry(record->d_name))
            continue;
        switch (record->d_type) {
        case DT_DIR:
            read.Folders.emplace_back(record->d_name);
            break;
        case DT_REG:
        case DT_UNKNOWN:
            AddEntry(folderFd, record->d_name, read);
            break;
        default: // links, pipes, sockets, devices: entries of no bytes, never opened
            ++read.Files;
        }
    }
}

// Whether a folder is one the count does not enter: the kernel's own file systems always, other
// volumes when the tree stays on one.
ReadOutcome Crossing(const ReadRequest& request, const struct stat& status, const DeviceTypeOf& typeOf)
{
    if (!request.TreeFolder && status.st_dev == request.ParentDevice)
        return ReadOutcome::Listed;
    if (IsPseudoFileSystem(typeOf(status.st_dev)))
        return ReadOutcome::PseudoFileSystem;
    if (!request.TreeFolder && request.Crossing == VolumeCrossing::StayOnOneFileSystem)
        return ReadOutcome::OtherVolume;
    return ReadOutcome::Listed;
}

} // namespace

void ForgetEntries(FolderRead& read)
{
    read.Bytes = 0;
    read.Allocated = 0;
    read.Files = 0;
    read.Linked.clear();
    read.LargeFiles.clear();
    read.Folders.clear();
}

FolderRead ReadFolder(const ReadRequest& request, const DeviceTypeOf& typeOf, const ReadAbandoned& abandoned)
{
    FolderRead read;
    // A folder inside the tree is never reached through a link; the tree's own folder may be one.
    const int follow = request.TreeFolder ? 0 : AT_SYMLINK_NOFOLLOW;
    struct stat status {};
    if (::fstatat(AT_FDCWD, request.Path.c_str(), &status, follow | AT_NO_AUTOMOUNT) != 0) {
        read.Outcome = FailureOf(errno);
        return read;
    }
    if (!S_ISDIR(status.st_mode))
        return read;
    read.Stamp = StampOf(status);
    read.Outcome = Crossing(request, status, typeOf);
    if (read.Outcome != ReadOutcome::Listed)
        return read;
    if (request.Kind == JobKind::Check && request.Stamped && read.Stamp == request.Previous) {
        read.Outcome = ReadOutcome::Unchanged;
        return read;
    }
    const int fd = ::open(request.Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (request.TreeFolder ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        read.Outcome = FailureOf(errno);
        return read;
    }
    DIR* directory = ::fdopendir(fd);
    if (directory == nullptr) {
        read.Outcome = ReadOutcome::Unreadable;
        ::close(fd);
        return read;
    }
    ListEntries(directory, read, abandoned);
    ::closedir(directory);
    if (read.Outcome != ReadOutcome::Listed || read.Abandoned)
        ForgetEntries(read);
    std::sort(read.Folders.begin(), read.Folders.end());
    return read;
}

std::string Tree::RelativeOf(const Node& node) const
{
    std::vector<const std::string*> names;
    for (const Node* step = &node; step->Parent != nullptr; step = step->Parent)
        names.push_back(&step->Name);
    std::string relative;
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        relative += **name + "/";
    return relative;
}

ReadRequest Tree::RequestFor(const Node& node, JobKind kind) const
{
    ReadRequest request;
    request.TreeFolder = node.Parent == nullptr;
    request.Path = request.TreeFolder ? Folder : Folder + WithoutTrailingSlash(RelativeOf(node));
    request.Kind = kind;
    request.ParentDevice = request.TreeFolder ? 0 : node.Parent->Stamp.Identity.Device;
    request.Stamped = node.Stamped;
    request.Previous = node.Stamp;
    request.Crossing = Crossing;
    return request;
}

void Tree::Begin()
{
    Root = std::make_shared<Node>();
    Push(Root, JobKind::List);
}

void Tree::Push(const std::shared_ptr<Node>& node, JobKind kind)
{
    (IsUrgent(*node) ? UrgentJobs : OtherJobs).push_back({node, kind});
}

bool Tree::IsUrgent(const Node& node) const
{
    for (const Node* step = &node; step != nullptr; step = step->Parent)
        if (step->Urgent)
            return true;
    return false;
}

std::shared_ptr<Node> Tree::NewChild(Node& parent, const std::string& name)
{
    auto child = std::make_shared<Node>();
    child->Parent = &parent;
    child->Name = name;
    child->Urgent = !UrgentFolders.empty() && UrgentFolders.contains(RelativeOf(*child));
    return child;
}

void Tree::Apply(Node& node, JobKind kind, FolderRead& read, std::vector<CountResult>& results)
{
    ++Counted;
    if (read.Outcome == ReadOutcome::Unchanged) {
        for (const std::shared_ptr<Node>& child : node.Children)
            Push(child, JobKind::Check);
        --node.Pending;
    } else if (read.Outcome == ReadOutcome::Listed) {
        node.Kind = NodeKind::Counted;
        node.Stamped = true;
        node.Stamp = read.Stamp;
        TakeOwnFiles(node, read);
        MergeFolders(node, kind, read.Folders);
    } else {
        static constexpr NodeKind kKinds[] = {NodeKind::Counted, NodeKind::Counted, NodeKind::Counted,
                                              NodeKind::Unreadable, NodeKind::OtherVolume, NodeKind::PseudoFileSystem};
        node.Kind = kKinds[static_cast<int>(read.Outcome)];
        node.Stamped = read.Outcome != ReadOutcome::Vanished;
        node.Stamp = read.Stamp;
        ForgetEntries(read);
        TakeOwnFiles(node, read);
        MergeFolders(node, kind, {});
    }
    if (node.Pending == 0)
        Complete(&node, results);
}

// The folder's own files: what it held before is given back first, so a folder read again claims
// its multiply-linked files anew.
void Tree::TakeOwnFiles(Node& node, FolderRead& read)
{
    ReleaseClaims(node);
    node.OwnBytes = read.Bytes;
    node.OwnAllocated = read.Allocated;
    node.OwnFiles = read.Files;
    node.LargeFiles = std::move(read.LargeFiles);
    for (LinkedFile& file : read.Linked) {
        if (Claims.try_emplace(file.Key, &node).second) {
            node.OwnBytes += file.Size;
            node.OwnAllocated += file.Allocated;
            node.Claimed.push_back(file.Key);
            if (!file.Name.empty())
                node.LargeFiles.push_back({std::move(file.Name), file.Size, file.Allocated});
        }
    }
}

// The sub-folders as the disk now has them: kept ones keep their counts (and are checked in turn
// by a check), new ones are queued, vanished ones dropped.
void Tree::MergeFolders(Node& node, JobKind kind, const std::vector<std::string>& names)
{
    std::vector<std::shared_ptr<Node>> merged;
    merged.reserve(names.size());
    auto old = node.Children.begin();
    for (const std::string& name : names) {
        for (; old != node.Children.end() && (*old)->Name < name; ++old)
            Drop(**old);
        if (old != node.Children.end() && (*old)->Name == name) {
            merged.push_back(*old++);
            if (kind == JobKind::Check)
                Push(merged.back(), JobKind::Check);
        } else {
            merged.push_back(NewChild(node, name));
            Push(merged.back(), JobKind::List);
        }
    }
    for (; old != node.Children.end(); ++old)
        Drop(**old);
    node.Children = std::move(merged);
    node.Pending = static_cast<int>(std::count_if(node.Children.begin(), node.Children.end(),
                                                  [](const std::shared_ptr<Node>& child) { return child->Pending > 0; }));
}

void Tree::Drop(Node& node)
{
    node.Alive = false;
    ReleaseClaims(node);
    for (const std::shared_ptr<Node>& child : node.Children)
        Drop(*child);
}

void Tree::ReleaseClaims(Node& node)
{
    for (const InodeKey& key : node.Claimed) {
        const auto claim = Claims.find(key);
        if (claim != Claims.end() && claim->second == &node)
            Claims.erase(claim);
    }
    node.Claimed.clear();
}

// Totals of a node whose own reading and children are all done, and upwards as far as that
// completes the parents.
void Tree::Complete(Node* node, std::vector<CountResult>& results)
{
    while (node != nullptr && node->Pending == 0) {
        FolderTotals totals;
        totals.Bytes = node->OwnBytes;
        totals.AllocatedBytes = node->OwnAllocated;
        totals.Files = node->OwnFiles;
        totals.Unreadable = node->Kind == NodeKind::Unreadable ? 1 : 0;
        totals.OtherVolumes = node->Kind == NodeKind::OtherVolume ? 1 : 0;
        totals.PseudoFileSystems = node->Kind == NodeKind::PseudoFileSystem ? 1 : 0;
        for (const std::shared_ptr<Node>& child : node->Children) {
            const FolderTotals& below = child->Totals;
            totals.Bytes += below.Bytes;
            totals.AllocatedBytes += below.AllocatedBytes;
            totals.Files += below.Files;
            totals.Folders += 1 + below.Folders;
            totals.Unreadable += below.Unreadable;
            totals.OtherVolumes += below.OtherVolumes;
            totals.PseudoFileSystems += below.PseudoFileSystems;
        }
        node->Totals = totals;
        Report(*node, results);
        node = node->Parent;
        if (node != nullptr)
            --node->Pending;
    }
}

// Hands out a completed folder's totals if they are wanted; a folder the count does not enter
// answers for every wanted folder behind it as well.
void Tree::Report(const Node& node, std::vector<CountResult>& results) const
{
    if (Wanted.empty())
        return;
    const std::string relative = RelativeOf(node);
    if (node.Kind == NodeKind::Counted) {
        const auto wanted = Wanted.find(relative);
        if (wanted != Wanted.end())
            results.push_back({Id, wanted->second, node.Totals});
        return;
    }
    for (const auto& [folder, ticket] : Wanted)
        if (folder.starts_with(relative))
            results.push_back({Id, ticket, node.Totals});
}

Node* Tree::Walk(const std::string& folder, bool& found) const
{
    Node* node = Root.get();
    std::size_t start = 0;
    found = true;
    while (start < folder.size()) {
        const std::size_t slash = folder.find('/', start);
        const std::string name = folder.substr(start, slash - start);
        const auto child = std::lower_bound(node->Children.begin(), node->Children.end(), name,
                                            [](const std::shared_ptr<Node>& a, const std::string& b) { return a->Name < b; });
        if (child == node->Children.end() || (*child)->Name != name) {
            found = false;
            return node;
        }
        node = child->get();
        start = slash == std::string::npos ? folder.size() : slash + 1;
    }
    return node;
}

void Tree::Want(const CountWant& want, std::vector<CountResult>& results)
{
    Wanted[want.Folder] = want.Ticket;
    bool found = false;
    const Node* node = Walk(want.Folder, found);
    if (node->Pending == 0 && (found || node->Kind != NodeKind::Counted))
        results.push_back({Id, want.Ticket, node->Totals});
}

void Tree::TakeSnapshot(CountSnapshot& snapshot) const
{
    snapshot = {};
    snapshot.Extent = Root->Pending == 0 && !Busy() ? SnapshotExtent::Complete : SnapshotExtent::Partial;
    AddToSnapshot(*Root, "", snapshot);
    // Names order the children, but "a/" sorts after "a-c/" as a path: the paths are sorted whole.
    std::sort(snapshot.Folders.begin(), snapshot.Folders.end(),
              [](const CountedFolder& a, const CountedFolder& b) { return a.Folder < b.Folder; });
    std::sort(snapshot.Files.begin(), snapshot.Files.end(),
              [](const CountedFile& a, const CountedFile& b) { return a.Path < b.Path; });
}

// A folder's totals once its count is complete; its large files once it has been read.
void Tree::AddToSnapshot(const Node& node, const std::string& relative, CountSnapshot& snapshot) const
{
    if (node.Pending == 0)
        snapshot.Folders.push_back({relative, node.Totals});
    if (node.Stamped)
        for (const CountedFile& file : node.LargeFiles)
            snapshot.Files.push_back({relative + file.Path, file.Bytes, file.AllocatedBytes});
    for (const std::shared_ptr<Node>& child : node.Children)
        AddToSnapshot(*child, relative + child->Name + "/", snapshot);
}

void Tree::ResetForCheck(Node& node)
{
    node.Pending = 1 + static_cast<int>(node.Children.size());
    for (const std::shared_ptr<Node>& child : node.Children)
        ResetForCheck(*child);
}

void Tree::BeginRecheck()
{
    Counted = 0;
    ResetForCheck(*Root);
    Push(Root, JobKind::Check);
}

// One more reading for a node; the parents that were complete wait for it again.
void Tree::MarkPending(Node& node)
{
    bool wasComplete = node.Pending == 0;
    ++node.Pending;
    for (Node* step = &node; wasComplete && step->Parent != nullptr; step = step->Parent) {
        wasComplete = step->Parent->Pending == 0;
        ++step->Parent->Pending;
    }
}

// Only on an idle tree: every node is complete, so the parents of the folder wait for it alone.
void Tree::BeginRecount(const std::string& folder)
{
    bool found = false;
    Node* node = Walk(folder, found);
    if (!found)
        return;
    Counted = 0;
    MarkPending(*node);
    Push(SharedOf(*node), JobKind::List);
}

std::shared_ptr<Node> Tree::SharedOf(const Node& node) const
{
    if (node.Parent == nullptr)
        return Root;
    const auto& siblings = node.Parent->Children;
    return *std::find_if(siblings.begin(), siblings.end(), [&](const std::shared_ptr<Node>& child) { return child.get() == &node; });
}

void Tree::SetUrgent(const std::vector<std::string>& folders)
{
    bool found = false;
    for (const std::string& folder : UrgentFolders)
        if (Node* node = Walk(folder, found); found)
            node->Urgent = false;
    UrgentFolders = std::set<std::string>(folders.begin(), folders.end());
    for (const std::string& folder : UrgentFolders)
        if (Node* node = Walk(folder, found); found)
            node->Urgent = true;
    std::vector<Job> jobs = std::move(OtherJobs);
    jobs.insert(jobs.end(), UrgentJobs.begin(), UrgentJobs.end());
    UrgentJobs.clear();
    OtherJobs.clear();
    for (const Job& job : jobs)
        Push(job.Target, job.Kind);
}

} // namespace platform::counting
