#include "platform/file_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// Every step below works relative to an open folder: a folder replaced by a link in the meantime
// is never entered, since folders are opened without following links.
class TreeRemoval {
public:
    TreeRemoval(FileRun& run, std::int64_t unitsPerEntry) : Run(run), Units(unitsPerEntry) {}

    StepEnd RemoveAt(int folder, const std::string& name, const std::string& path)
    {
        if (!Run.Step(path, "", Units))
            return StepEnd::Stopped;
        struct stat status {};
        if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
            return Gone(path);
        if (S_ISDIR(status.st_mode))
            return RemoveFolderAt(folder, name, path);
        return ::unlinkat(folder, name.c_str(), 0) == 0 ? StepEnd::Done : Gone(path);
    }

private:
    StepEnd RemoveFolderAt(int parent, const std::string& name, const std::string& path)
    {
        const int descriptor = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR* directory = descriptor >= 0 ? ::fdopendir(descriptor) : nullptr;
        if (directory == nullptr) {
            const int error = errno;
            if (descriptor >= 0)
                ::close(descriptor);
            return Gone(path, error);
        }
        std::vector<std::string> names;
        NamesIn(::dirfd(directory), names);
        StepEnd end = StepEnd::Done;
        for (const std::string& child : names) {
            end = Worse(end, RemoveAt(::dirfd(directory), child, JoinPath(path, child)));
            if (end == StepEnd::Stopped)
                break;
        }
        ::closedir(directory);
        // A folder whose entries could not all go stays; its own failure would only repeat theirs.
        if (end != StepEnd::Done)
            return end;
        return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0 ? StepEnd::Done : Gone(path);
    }

    // An entry that vanished meanwhile is as good as deleted.
    StepEnd Gone(const std::string& path, int error = errno)
    {
        return error == ENOENT ? StepEnd::Done : Run.Fail(path, error);
    }

    FileRun& Run;
    std::int64_t Units = 0;
};

// The careful deletion of a move's source, entry by entry relative to open folders.
class CopiedRemoval {
public:
    CopiedRemoval(FileRun& run, const CopiedSources& copied, std::vector<RemovedEntry>& removed)
        : Run(run), Copied(copied), Removed(removed)
    {
    }

    StepEnd RemoveAt(const EntryAt& entry)
    {
        if (!Run.Step(entry.Path, "", 0))
            return StepEnd::Stopped;
        struct stat status {};
        const int error = StatusAt(entry, status);
        if (error == ENOENT) { // gone meanwhile: its copy is all there is now
            Removed.push_back({entry.Path, false, 0});
            return StepEnd::Done;
        }
        if (error != 0)
            return Run.Fail(entry.Path, error);
        const auto found = Copied.find(entry.Path);
        if (found == Copied.end() || !StillAsCopied(found->second, status))
            return Run.FailChanged(entry.Path);
        if (S_ISDIR(status.st_mode))
            return RemoveFolderAt(entry, status);
        if (::unlinkat(entry.Folder, entry.Name.c_str(), 0) != 0 && errno != ENOENT)
            return Run.Fail(entry.Path, errno);
        Removed.push_back({entry.Path, false, 0});
        return StepEnd::Done;
    }

private:
    // A folder's own times change with its entries; what counts is that it is the same folder.
    static bool StillAsCopied(const SourceRead& read, const struct stat& status)
    {
        if (S_ISDIR(status.st_mode))
            return read.Identity.Type == S_IFDIR && read.Identity.Device == status.st_dev &&
                   read.Identity.Inode == status.st_ino;
        return read == ReadOf(status);
    }

    StepEnd RemoveFolderAt(const EntryAt& entry, const struct stat& status)
    {
        Descriptor folder;
        std::vector<std::string> names;
        StepEnd end = Run.OpenFolder(entry, status, folder, names);
        if (end != StepEnd::Done)
            return end;
        for (const std::string& name : names) {
            end = Worse(end, RemoveAt(entry.Child(folder.Get(), name)));
            if (end == StepEnd::Stopped)
                return end;
        }
        if (end != StepEnd::Done)
            return end; // the folder stays with what stays in it
        if (::unlinkat(entry.Folder, entry.Name.c_str(), AT_REMOVEDIR) == 0) {
            Removed.push_back({entry.Path, true, static_cast<mode_t>(status.st_mode & 07777)});
            return StepEnd::Done;
        }
        if (errno == ENOTEMPTY || errno == EEXIST)
            return ReportLeftIn(Run, folder.Get(), entry.Path);
        return Run.Fail(entry.Path, errno);
    }

    FileRun& Run;
    const CopiedSources& Copied;
    std::vector<RemovedEntry>& Removed;
};

} // namespace

StepEnd RemoveEntry(FileRun& run, const std::string& path, std::int64_t unitsPerEntry)
{
    const std::string parentPath = ParentOf(path);
    const int parent = ::open(parentPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return errno == ENOENT ? StepEnd::Done : run.Fail(path, errno);
    const StepEnd end = TreeRemoval(run, unitsPerEntry).RemoveAt(parent, NameOf(path), path);
    ::close(parent);
    return end;
}

SourceRead ReadOf(const struct stat& status)
{
    return {IdentityOf(status), static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec};
}

StepEnd RemoveCopied(FileRun& run, const EntryAt& source, const CopiedSources& copied,
                     std::vector<RemovedEntry>& removed)
{
    return CopiedRemoval(run, copied, removed).RemoveAt(source);
}

StepEnd ReportLeftIn(FileRun& run, int folder, const std::string& path)
{
    std::vector<std::string> names;
    const int error = NamesIn(folder, names);
    if (error != 0 || names.empty())
        return run.Fail(path, error != 0 ? error : ENOTEMPTY);
    for (const std::string& name : names)
        run.FailChanged(JoinPath(path, name));
    return StepEnd::Failed;
}

} // namespace platform
