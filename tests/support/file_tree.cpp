#include "tests/support/file_tree.h"

#include <linux/capability.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

FileTree::~FileTree()
{
    std::error_code ignored;
    for (const std::string& path : Unreadable)
        fs::permissions(path, fs::perms::owner_all, ignored);
}

std::string FileTree::File(const std::string& relativeName, std::uintmax_t size) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path.parent_path());
    { std::ofstream(path, std::ios::binary | std::ios::trunc); }
    fs::resize_file(path, size);
    return path.string();
}

std::string FileTree::MakeFolder(const std::string& relativeName) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path);
    return path.string();
}

std::string FileTree::Link(const std::string& relativeName, const std::string& target) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    return path.string();
}

std::string FileTree::HardLink(const std::string& relativeName, const std::string& existingRelativeName) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path.parent_path());
    fs::create_hard_link(PathOf(existingRelativeName), path);
    return path.string();
}

std::string FileTree::Pipe(const std::string& relativeName) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path.parent_path());
    if (::mkfifo(path.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make a pipe");
    return path.string();
}

std::string FileTree::Socket(const std::string& relativeName) const
{
    const fs::path path = PathOf(relativeName);
    fs::create_directories(path.parent_path());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.string().size() >= sizeof address.sun_path)
        throw std::runtime_error("socket path too long");
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!bound)
        throw std::runtime_error("cannot make a socket");
    return path.string();
}

FileTree::Sums FileTree::SumsBelow(const std::string& relativeFolder) const
{
    Sums sums;
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const auto& entry : fs::recursive_directory_iterator(PathOf(relativeFolder), fs::directory_options::skip_permission_denied)) {
        struct stat status {};
        if (::lstat(entry.path().c_str(), &status) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            ++sums.Folders;
            continue;
        }
        ++sums.Files;
        if (S_ISREG(status.st_mode) && seen.insert({status.st_dev, status.st_ino}).second) {
            sums.Bytes += status.st_size;
            sums.Allocated += static_cast<std::int64_t>(status.st_blocks) * 512;
        }
    }
    return sums;
}

std::string FileTree::UnreadableFolder(const std::string& relativeName) const
{
    const std::string path = MakeFolder(relativeName);
    fs::permissions(path, fs::perms::none);
    Unreadable.push_back(path);
    return path;
}

bool FileTree::PermissionsApply()
{
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct capabilities[2]{};
    if (::syscall(SYS_capget, &header, capabilities) != 0)
        return false;
    capabilities[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    return ::syscall(SYS_capset, &header, capabilities) == 0;
}

void FileTree::Remove(const std::string& relativeName) const
{
    fs::remove_all(PathOf(relativeName));
}
