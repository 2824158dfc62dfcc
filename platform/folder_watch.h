#pragma once
// Watching folders for changes of their entries through the kernel's inotify: an entry made,
// removed, renamed, written or changed in its details. The watcher is polled (once a frame); it
// never waits and needs no thread of its own.
#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class WatchResult { Watching, LimitReached, Failed };

class FolderWatcher {
public:
    // `limit`: the most folders this watcher watches at once; past it a watch fails as it does
    // when the system's limit of watches is used up. Without one only the system's limit applies.
    explicit FolderWatcher(std::optional<int> limit = std::nullopt);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches a folder (never through a link): `handle` names it until Unwatch. Watching one folder
    // twice gives the same handle, and each Watch needs its own Unwatch.
    WatchResult Watch(const std::string& folder, int& handle);
    void Unwatch(int handle);
    // The handles whose folders changed since the last call, each once. A folder that went away
    // is reported too, and its handle ends (Unwatch is then harmless). When the kernel lost events
    // (its queue ran over), every handle is reported.
    std::vector<int> TakeChanged();
    int WatchCount() const { return static_cast<int>(Uses.size()); }

private:
    struct Watched {
        int Uses = 0; // how many Watch calls hold it
        std::pair<dev_t, ino_t> Identity;
    };

    void Forget(std::map<int, Watched>::iterator watched);

    int Fd = -1; // owned; the inotify instance, -1 when none could be had
    std::optional<int> Limit;
    std::map<int, Watched> Uses;                    // by handle
    std::map<std::pair<dev_t, ino_t>, int> Handles; // the handle of each folder watched
};

} // namespace platform
