#include "platform/file_operation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/file_entry.h"
#include "platform/file_inflight.h"
#include "platform/file_removal.h"
#include "platform/file_run.h"
#include "platform/file_transfer.h"
#include "platform/paths.h"
#include "platform/trash.h"

namespace platform {

namespace {

// A source of a batch as it was found before anything was done.
struct Source {
    std::string Path;
    struct stat Status {};
    bool OneRename = false; // a move on the target's own mount
};

std::string RealPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved != nullptr ? std::string(resolved.get()) : path;
}

// The target folder and every folder above it, as the system finds them (links and ".." resolved).
FolderIdentities TargetAndAbove(const std::string& target)
{
    FolderIdentities chain;
    for (std::string path = RealPath(target);; path = ParentOf(path)) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0)
            chain.insert({status.st_dev, status.st_ino});
        if (path == "/" || path == ".")
            return chain;
    }
}

bool IsAbove(const FolderIdentities& above, const struct stat& status)
{
    return S_ISDIR(status.st_mode) && above.contains({status.st_dev, status.st_ino});
}

// What can be told from the sources' own entries, by identity: a folder that is the target or lies
// above it, and an entry whose place in the target it already takes (its own folder is the target,
// or the target holds it under its name through another mount or link).
Refusal CheckTransfer(const std::vector<std::string>& sources, const std::string& target,
                      const FolderIdentities& above)
{
    struct stat targetStatus {};
    if (::stat(target.c_str(), &targetStatus) != 0 || !S_ISDIR(targetStatus.st_mode))
        return {RefusalKind::TargetNotFolder, target};
    for (const std::string& path : sources) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0)
            continue; // reported when its turn comes
        if (S_ISDIR(status.st_mode) && SameEntry(status, targetStatus))
            return {RefusalKind::SourceIsTarget, path};
        if (IsAbove(above, status))
            return {RefusalKind::IntoItself, path};
        struct stat parent {};
        struct stat inTarget {};
        if ((::stat(ParentOf(path).c_str(), &parent) == 0 && SameEntry(parent, targetStatus)) ||
            (::lstat(JoinPath(target, NameOf(path)).c_str(), &inTarget) == 0 && SameEntry(inTarget, status)))
            return {RefusalKind::AlreadyInTarget, path};
    }
    return {};
}

Refusal CheckDelete(const std::vector<std::string>& sources)
{
    for (const std::string& path : sources) {
        if (RealPath(path) == "/")
            return {RefusalKind::FileSystemRoot, path};
    }
    return {};
}

// The sources that are still there, with their status; the others are reported as failures.
std::vector<Source> FindSources(FileRun& run, const std::vector<std::string>& paths)
{
    std::vector<Source> found;
    for (const std::string& path : paths) {
        Source source{WithoutTrailingSlash(path)};
        if (::lstat(source.Path.c_str(), &source.Status) == 0)
            found.push_back(source);
        else
            run.Fail(source.Path, errno);
    }
    return found;
}

// Counts the work, and walks every source that is copied: a folder met there that is the target or
// lies above it (the target reached through a bind mount of a folder inside the source) would be
// copied into itself for ever. Nothing is touched yet.
Refusal MeasureSources(FileRun& run, std::vector<Source>& found, TransferKind kind, const std::string& target,
                       const FolderIdentities& above)
{
    const std::uint64_t targetMount = MountOf(AT_FDCWD, RealPath(target));
    std::int64_t units = 0;
    for (Source& source : found) {
        source.OneRename = kind == TransferKind::Move && MountOf(AT_FDCWD, source.Path) == targetMount;
        if (source.OneRename) {
            ++units;
            continue;
        }
        FolderIdentities folders;
        units += MeasureTree(run, source.Path, TreeMeasure::EntriesAndBytes, &folders);
        for (const auto& folder : folders) {
            if (above.contains(folder))
                return {RefusalKind::IntoItself, source.Path};
        }
    }
    run.AddToTotal(units);
    return {};
}

} // namespace

FileOperation::FileOperation(OverwritePrompt* prompt, ProgressView* progress, Trash* trash)
    : Prompt(prompt), Progress(progress), TrashCan(trash)
{
}

OperationResult FileOperation::Transfer(TransferKind kind, const std::vector<std::string>& sources,
                                        const std::string& targetFolder) const
{
    FileRun run(Prompt, Progress, ShowProgressAfter, EventInterval);
    InFlightJournal inFlight(InFlightFolder);
    run.InFlight = &inFlight;
    run.ChangedReason = kind == TransferKind::Move ? kChangedWhileMoved : kChangedWhileCopied;
    const std::string target = WithoutTrailingSlash(targetFolder);
    std::vector<std::string> paths;
    for (const std::string& source : sources)
        paths.push_back(WithoutTrailingSlash(source));
    const FolderIdentities above = TargetAndAbove(target);
    Refusal refusal = CheckTransfer(paths, target, above);
    std::vector<Source> found;
    if (refusal.Kind == RefusalKind::None) {
        found = FindSources(run, paths);
        refusal = MeasureSources(run, found, kind, target, above);
    }
    if (refusal.Kind != RefusalKind::None)
        return run.Refuse(refusal);
    const Descriptor folder(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid()) {
        run.Fail(target, errno);
        return run.Finish();
    }
    FileTransfer transfer(run);
    for (const Source& source : found) {
        OpenedEntry entry;
        struct stat status {};
        int error = OpenParentOf(source.Path, entry);
        if (error == 0)
            error = StatusAt(entry.At, status);
        if (error != 0) {
            run.Fail(source.Path, error);
            continue;
        }
        const EntryAt to{folder.Get(), entry.At.Name, JoinPath(target, entry.At.Name)};
        const StepEnd end = kind == TransferKind::Copy ? transfer.Copy(entry.At, to, status)
                                                       : transfer.Move(entry.At, to, status);
        if (end == StepEnd::Stopped || (source.OneRename && !run.Step(source.Path, to.Path, 1)))
            break;
    }
    return run.Finish();
}

OperationResult FileOperation::Delete(DeleteKind kind, const std::vector<std::string>& sources) const
{
    FileRun run(Prompt, Progress, ShowProgressAfter, EventInterval);
    const Refusal refusal = CheckDelete(sources);
    if (refusal.Kind != RefusalKind::None)
        return run.Refuse(refusal);
    std::vector<Source> found;
    for (const std::string& path : sources) {
        Source source{WithoutTrailingSlash(path)};
        if (::lstat(source.Path.c_str(), &source.Status) == 0) // one gone already needs nothing more
            found.push_back(source);
    }
    std::int64_t units = 0;
    for (const Source& source : found)
        units += kind == DeleteKind::Trash ? 1 : MeasureTree(run, source.Path, TreeMeasure::Entries);
    run.AddToTotal(units);
    for (const Source& source : found) {
        if (kind == DeleteKind::Permanent) {
            if (RemoveEntry(run, source.Path, 1) == StepEnd::Stopped)
                break;
            continue;
        }
        if (!run.Step(source.Path, "", 1))
            break;
        struct stat status {};
        if (::lstat(source.Path.c_str(), &status) != 0)
            continue; // went with a folder before it
        std::string inTrash;
        std::string reason = "There is no trash";
        if (TrashCan != nullptr && TrashCan->MoveToTrash(source.Path, inTrash, reason))
            run.Result.Journal.Add(StepKind::Trashed, inTrash, source.Path);
        else
            run.Fail(source.Path, reason);
    }
    return run.Finish();
}

OperationResult FileOperation::Rename(const std::string& source, const std::string& target) const
{
    FileRun run(Prompt, Progress, ShowProgressAfter, EventInterval);
    const std::string from = WithoutTrailingSlash(source);
    const std::string to = WithoutTrailingSlash(target);
    if (from == to)
        return run.Finish();
    const int error = RenameNoReplace(from, to);
    if (error == 0)
        run.Result.Journal.Add(StepKind::Moved, to, from);
    else
        run.Fail(error == EEXIST ? to : from, error);
    return run.Finish();
}

EntryKind KindOfEntry(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return EntryKind::Missing;
    return S_ISDIR(status.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

bool CreateEmptyFile(const std::string& path, FileJournal& journal, FileFailure& failure)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0 || ::close(descriptor) != 0) {
        failure = {path, std::strerror(errno)};
        return false;
    }
    journal.Add(StepKind::Created, path);
    return true;
}

bool CreateFolder(const std::string& path, FileJournal& journal, FileFailure& failure)
{
    if (::mkdir(path.c_str(), 0777) != 0) {
        failure = {path, std::strerror(errno)};
        return false;
    }
    journal.Add(StepKind::Created, path);
    return true;
}

} // namespace platform
