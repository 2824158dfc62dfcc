#include "ring/ring_watch.h"

#include <unordered_set>

#include "ring/element_folder.h"

QRRingWatch::QRRingWatch(platform::FolderWatcher& watcher) : Watcher(watcher) {}

QRRingWatch::~QRRingWatch()
{
    for (auto& [element, watched] : Folders)
        Unwatch(watched);
}

void QRRingWatch::Follow(const std::vector<QREFolder*>& expanded)
{
    const std::unordered_set<const QRElement*> wanted(expanded.begin(), expanded.end());
    for (auto watched = Folders.begin(); watched != Folders.end();) {
        if (wanted.contains(watched->first)) {
            ++watched;
            continue;
        }
        Unwatch(watched->second);
        watched = Folders.erase(watched);
    }
    for (QREFolder* folder : expanded) {
        const auto known = Folders.find(folder);
        if (known == Folders.end() || known->second.Limited)
            Watch(folder); // a folder the limit kept out is tried again
    }
}

void QRRingWatch::Watch(QREFolder* folder)
{
    Watched& watched = Folders[folder];
    watched.Folder = folder;
    Unwatched -= watched.Limited ? 1 : 0;
    watched.Limited = Watcher.Watch(folder->FullPath(), watched.Handle) == platform::WatchResult::LimitReached;
    Unwatched += watched.Limited ? 1 : 0;
}

void QRRingWatch::Unwatch(Watched& watched)
{
    if (watched.Handle >= 0)
        Watcher.Unwatch(watched.Handle);
    Unwatched -= watched.Limited ? 1 : 0;
    Waiting -= watched.FirstChange >= 0.0 ? 1 : 0;
    watched = Watched{};
}

void QRRingWatch::Changed(int handle, double now)
{
    for (auto& [element, watched] : Folders) {
        if (watched.Handle != handle)
            continue;
        if (watched.FirstChange < 0.0) {
            watched.FirstChange = now;
            ++Waiting;
        }
        watched.LastChange = now;
    }
}

QREFolder* QRRingWatch::TakeDue(double now)
{
    if (Waiting == 0)
        return nullptr;
    for (auto& [element, watched] : Folders) {
        const bool waiting = watched.FirstChange >= 0.0;
        if (waiting && (now - watched.LastChange >= kSettleSeconds || now - watched.FirstChange >= kLongestWaitSeconds)) {
            watched.FirstChange = -1.0;
            watched.LastChange = -1.0;
            --Waiting;
            return watched.Folder;
        }
    }
    return nullptr;
}

void QRRingWatch::ElementFreed(const QRElement* element)
{
    const auto watched = Folders.find(element);
    if (watched == Folders.end())
        return;
    Unwatch(watched->second);
    Folders.erase(watched);
}
