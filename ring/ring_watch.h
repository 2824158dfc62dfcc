#pragma once
// The expanded folders of one ring, watched for changes on the disk, and which of them are due to
// be read again: a folder is due once its changes have settled for a moment, or have gone on for a
// while (so that a folder that never stops changing is still followed a few times a second).
#include <unordered_map>
#include <vector>

#include "platform/folder_watch.h"

class QRElement;
class QREFolder;

class QRRingWatch {
public:
    static constexpr double kSettleSeconds = 0.1;
    static constexpr double kLongestWaitSeconds = 0.3;

    // `watcher` is not owned and outlives the ring watch.
    explicit QRRingWatch(platform::FolderWatcher& watcher);
    ~QRRingWatch(); // ends its watches
    QRRingWatch(const QRRingWatch&) = delete;
    QRRingWatch& operator=(const QRRingWatch&) = delete;

    // Watches these folders (the ring's expanded ones) and no others.
    void Follow(const std::vector<QREFolder*>& expanded);
    // The folder watched under `handle` changed, at `now` seconds of frame time.
    void Changed(int handle, double now);
    // One folder whose change is due at `now`, taken off the list; none when no folder is due.
    QREFolder* TakeDue(double now);
    void ElementFreed(const QRElement* element);
    // Some expanded folder is not watched because the system's limit of watches is used up.
    bool LimitReached() const { return Unwatched > 0; }

private:
    struct Watched {
        QREFolder* Folder = nullptr; // not owned
        int Handle = -1;             // -1: not watched
        bool Limited = false;        // not watched because the limit is used up
        double FirstChange = -1.0;   // -1: no change waiting
        double LastChange = -1.0;
    };

    void Watch(QREFolder* folder);
    void Unwatch(Watched& watched);

    platform::FolderWatcher& Watcher;
    std::unordered_map<const QRElement*, Watched> Folders;
    int Unwatched = 0; // expanded folders the limit kept unwatched
    int Waiting = 0;   // folders with a change waiting
};
