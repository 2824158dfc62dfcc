#include "tests/support/private_tmpfs.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tests/support/private_mounts.h"

PrivateTmpfs::~PrivateTmpfs()
{
    if (!MountPoint.empty())
        ::umount2(MountPoint.c_str(), MNT_DETACH);
}

bool PrivateTmpfs::Mount(const std::string& folder, std::size_t bytes, std::string& reason)
{
    if (!PrivateMounts::Enter(reason))
        return false;
    std::filesystem::create_directories(folder);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        reason = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return false;
    }
    MountPoint = folder;
    return true;
}
