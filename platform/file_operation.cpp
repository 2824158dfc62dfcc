#include "platform/file_operation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

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
    bool SameFileSystem = false; // a move that is one rename
};

bool SameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string RealPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved != nullptr ? std::string(resolved.get()) : path;
}

// The target folder and every folder above it, as the system finds them (links resolved).
std::vector<struct stat> TargetAndAbove(const std::string& target)
{
    std::vector<struct stat> chain;
    for (std::string path = RealPath(target);; path = ParentOf(path)) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0)
            chain.push_back(status);
        if (path == "/" || path == ".")
            return chain;
    }
}

Refusal CheckTransfer(const std::vector<std::string>& sources, const std::string& target)
{
    struct stat targetStatus {};
    if (::stat(target.c_str(), &targetStatus) != 0 || !S_ISDIR(targetStatus.st_mode))
        return {RefusalKind::TargetNotFolder, target};
    const std::vector<struct stat> above = TargetAndAbove(target);
    for (const std::string& path : sources) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0)
            continue; // reported when its turn comes
        if (S_ISDIR(status.st_mode) && SameEntry(status, targetStatus))
            return {RefusalKind::SourceIsTarget, path};
        for (const struct stat& folder : above) {
            if (S_ISDIR(status.st_mode) && SameEntry(status, folder))
                return {RefusalKind::IntoItself, path};
        }
        struct stat parent {};
        if (::stat(ParentOf(path).c_str(), &parent) == 0 && SameEntry(parent, targetStatus))
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

} // namespace

FileOperation::FileOperation(OverwritePrompt* prompt, ProgressView* progress, Trash* trash)
    : Prompt(prompt), Progress(progress), TrashCan(trash)
{
}

OperationResult FileOperation::Transfer(TransferKind kind, const std::vector<std::string>& sources,
                                        const std::string& targetFolder) const
{
    FileRun run(Prompt, Progress, ShowProgressAfter, EventInterval);
    const std::string target = WithoutTrailingSlash(targetFolder);
    std::vector<std::string> paths;
    for (const std::string& source : sources)
        paths.push_back(WithoutTrailingSlash(source));
    const Refusal refusal = CheckTransfer(paths, target);
    if (refusal.Kind != RefusalKind::None)
        return run.Refuse(refusal);
    struct stat targetStatus {};
    ::stat(target.c_str(), &targetStatus);
    std::vector<Source> found = FindSources(run, paths);
    std::int64_t units = 0;
    for (Source& source : found) {
        source.SameFileSystem = kind == TransferKind::Move && source.Status.st_dev == targetStatus.st_dev;
        units += source.SameFileSystem ? 1 : MeasureTree(run, source.Path, TreeMeasure::EntriesAndBytes);
    }
    run.AddToTotal(units);
    FileTransfer transfer(run);
    for (const Source& source : found) {
        const std::string to = JoinPath(target, NameOf(source.Path));
        const StepEnd end = kind == TransferKind::Copy ? transfer.Copy(source.Path, to, source.Status)
                                                       : transfer.Move(source.Path, to, source.Status);
        if (end == StepEnd::Stopped || (source.SameFileSystem && !run.Step(source.Path, to, 1)))
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
