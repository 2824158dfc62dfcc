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
        while (const dirent* entry = ::readdir(directory)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
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

} // namespace platform
