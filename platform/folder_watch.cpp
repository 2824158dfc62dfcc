#include "platform/folder_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace platform {

namespace {

constexpr std::uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY |
                                  IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

} // namespace

FolderWatcher::FolderWatcher(std::optional<int> limit) : Fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), Limit(limit) {}

FolderWatcher::~FolderWatcher()
{
    if (Fd >= 0)
        ::close(Fd);
}

WatchResult FolderWatcher::Watch(const std::string& folder, int& handle)
{
    handle = -1;
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return WatchResult::Failed;
    const std::pair<dev_t, ino_t> identity{status.st_dev, status.st_ino};
    if (const auto known = Handles.find(identity); known != Handles.end()) {
        handle = known->second;
        ++Uses[handle].Uses;
        return WatchResult::Watching;
    }
    // No instance means the system's limit of inotify instances was reached.
    if (Fd < 0 || (Limit && WatchCount() >= *Limit))
        return WatchResult::LimitReached;
    const int watch = ::inotify_add_watch(Fd, folder.c_str(), kEvents | IN_ONLYDIR | IN_DONT_FOLLOW);
    if (watch < 0)
        return errno == ENOSPC ? WatchResult::LimitReached : WatchResult::Failed;
    handle = watch;
    Uses[watch] = {1, identity};
    Handles[identity] = watch;
    return WatchResult::Watching;
}

void FolderWatcher::Unwatch(int handle)
{
    const auto watched = Uses.find(handle);
    if (watched == Uses.end() || --watched->second.Uses > 0)
        return;
    Forget(watched);
    ::inotify_rm_watch(Fd, handle);
}

void FolderWatcher::Forget(std::map<int, Watched>::iterator watched)
{
    Handles.erase(watched->second.Identity);
    Uses.erase(watched);
}

std::vector<int> FolderWatcher::TakeChanged()
{
    std::set<int> changed;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = Fd >= 0 ? ::read(Fd, buffer, sizeof buffer) : -1;
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                for (const auto& [handle, uses] : Uses)
                    changed.insert(handle);
                continue;
            }
            changed.insert(event->wd);
            const auto watched = Uses.find(event->wd);
            if ((event->mask & IN_IGNORED) && watched != Uses.end()) // the kernel ended it: the folder is gone
                Forget(watched);
        }
    }
    return {changed.begin(), changed.end()};
}

} // namespace platform
