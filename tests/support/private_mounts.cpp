#include "tests/support/private_mounts.h"

#include <sched.h>
#include <sys/mount.h>

bool PrivateMounts::Enter()
{
    // Private all the way down, so that no mount travels back to the namespace it came from.
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

PrivateMounts::~PrivateMounts()
{
    for (auto folder = Mounted.rbegin(); folder != Mounted.rend(); ++folder)
        ::umount2(folder->c_str(), MNT_DETACH);
}

bool PrivateMounts::Mount(const std::string& type, const std::string& folder)
{
    if (::mount(type.c_str(), folder.c_str(), type.c_str(), 0, nullptr) != 0)
        return false;
    Mounted.push_back(folder);
    return true;
}
