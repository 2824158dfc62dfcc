#include "tests/support/private_tmpfs.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// Once a process: a mount namespace of its own whose mounts never reach the rest of the system.
bool PrivateNamespace(std::string& reason)
{
    static int error = -1;
    if (error < 0) {
        error = 0;
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            error = errno;
    }
    if (error != 0)
        reason = std::string("no mount namespace of its own: ") + std::strerror(error);
    return error == 0;
}

} // namespace

PrivateTmpfs::~PrivateTmpfs()
{
    if (!MountPoint.empty())
        ::umount2(MountPoint.c_str(), MNT_DETACH);
}

bool PrivateTmpfs::Mount(const std::string& folder, std::size_t bytes, std::string& reason)
{
    if (!PrivateNamespace(reason))
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
