#include "platform/file_entry.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

Descriptor::~Descriptor()
{
    if (Fd >= 0)
        ::close(Fd);
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        if (Fd >= 0)
            ::close(Fd);
        Fd = other.Fd;
        other.Fd = -1;
    }
    return *this;
}

EntryAt EntryAt::Child(int descriptor, const std::string& childName) const
{
    return {descriptor, childName, JoinPath(Path, childName)};
}

int OpenParentOf(const std::string& path, OpenedEntry& entry)
{
    entry.Parent = Descriptor(::open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!entry.Parent.Valid())
        return errno;
    entry.At = {entry.Parent.Get(), NameOf(path), path};
    return 0;
}

int StatusAt(const EntryAt& entry, struct stat& status)
{
    return ::fstatat(entry.Folder, entry.Name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

bool SameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int OpenFolderAt(const EntryAt& entry, Descriptor& folder, struct stat& status)
{
    folder = Descriptor(::openat(entry.Folder, entry.Name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.Valid())
        return errno == ELOOP || errno == ENOTDIR ? ESTALE : errno;
    return ::fstat(folder.Get(), &status) == 0 ? 0 : errno;
}

int OpenFolderAt(const EntryAt& entry, const struct stat& expected, Descriptor& folder)
{
    struct stat status {};
    const int error = OpenFolderAt(entry, folder, status);
    if (error != 0)
        return error;
    return SameEntry(status, expected) ? 0 : ESTALE;
}

// O_NONBLOCK keeps the open of a pipe from waiting for a writer; a regular file reads the same
// without it, so it is cleared once the type is known (none of the other flags F_SETFL changes was
// asked for).
int OpenFileAt(const EntryAt& entry, const struct stat& expected, Descriptor& file, struct stat& status)
{
    file = Descriptor(
        ::openat(entry.Folder, entry.Name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Valid())
        return errno == ELOOP || errno == ENXIO ? ESTALE : errno;
    if (::fstat(file.Get(), &status) != 0)
        return errno;
    if (!S_ISREG(status.st_mode) || !SameEntry(status, expected))
        return ESTALE;
    return ::fcntl(file.Get(), F_SETFL, 0) == 0 ? 0 : errno;
}

int NamesIn(int folder, std::vector<std::string>& names)
{
    names.clear();
    const int copy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* directory = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (directory == nullptr) {
        const int error = errno;
        if (copy >= 0)
            ::close(copy);
        return error;
    }
    ::rewinddir(directory);
    errno = 0;
    while (const dirent* entry = ::readdir(directory)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    const int error = errno;
    ::closedir(directory);
    return error;
}

std::uint64_t MountOf(int folder, const std::string& name)
{
    struct statx status {};
    if (::statx(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &status) != 0)
        return 0;
    if ((status.stx_mask & STATX_MNT_ID) != 0)
        return status.stx_mnt_id;
    return ::makedev(status.stx_dev_major, status.stx_dev_minor);
}

std::string ParentOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string CutName(const std::string& name, std::size_t bytes)
{
    if (name.size() <= bytes)
        return name;
    std::size_t end = bytes;
    // Back over continuation bytes to the start of the character that would be cut.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end > 0 ? end : bytes);
}

int RenameNoReplace(const EntryAt& from, const EntryAt& to)
{
    if (::renameat2(from.Folder, from.Name.c_str(), to.Folder, to.Name.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat existing {};
    if (StatusAt(to, existing) == 0)
        return EEXIST;
    return ::renameat(from.Folder, from.Name.c_str(), to.Folder, to.Name.c_str()) == 0 ? 0 : errno;
}

int RenameNoReplace(const std::string& from, const std::string& to)
{
    return RenameNoReplace(EntryAt{AT_FDCWD, from, from}, EntryAt{AT_FDCWD, to, to});
}

} // namespace platform
