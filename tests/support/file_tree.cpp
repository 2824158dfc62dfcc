#include "tests/support/file_tree.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
