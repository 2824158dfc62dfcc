#include "tests/support/private_mounts.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

bool PrivateMounts::Enter()
{
    std::string reason;
    return Enter(reason);
}

bool PrivateMounts::Enter(std::string& reason)
{
    // Private all the way down, so that no mount travels back to the namespace it came from.
    static const int error = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                                 ? 0
                                 : errno;
    if (error != 0)
        reason = std::string("this process may not have a mount namespace of its own: ") + std::strerror(error);
    return error == 0;
}

PrivateMounts::~PrivateMounts()
{
    for (auto folder = Mounted.rbegin(); folder != Mounted.rend(); ++folder)
        ::umount2(folder->c_str(), MNT_DETACH);
}

bool PrivateMounts::Mount(const std::string& type, const std::string& folder, const std::string& options)
{
    if (::mount(type.c_str(), folder.c_str(), type.c_str(), 0, options.empty() ? nullptr : options.c_str()) != 0)
        return false;
    Mounted.push_back(folder);
    return true;
}

bool PrivateMounts::Bind(const std::string& from, const std::string& folder)
{
    if (::mount(from.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    Mounted.push_back(folder);
    return true;
}
