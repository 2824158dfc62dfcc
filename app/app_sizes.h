#pragma once
// The application's part of folder sizes counted in the background and of rings that follow the
// disk live: the counter and the folder watcher (made when "CountFolderSizesInBackground" is on,
// dropped when it goes off), each ring's count kept in step with the ring, the totals handed to the
// elements, changed folders read again, and the count of the current ring in status panel 4.
// Everything here runs on the GUI thread, once a frame, from QOXApp::FollowDisk.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_count.h"
#include "platform/folder_watch.h"

class QOXApp;
class QOXRing;

class QASizes {
public:
    // Without the automatic refresh, rings whose folders are not all watched are refreshed this
    // often instead.
    static constexpr float kUnwatchedRefreshSeconds = 5.0f;

    explicit QASizes(QOXApp& app);
    ~QASizes();
    QASizes(const QASizes&) = delete;
    QASizes& operator=(const QASizes&) = delete;

    // The frame's part, before the rings' updates. Never waits for a worker.
    void Pump(float frameSeconds);
    // Stands in for the system's limit of folder watches with a lower one (from the next start).
    void LimitWatches(int limit) { WatchLimit = limit; }
    bool Counting() const { return Counter != nullptr; }
    // How the current ring's count goes ("Counting… N folders"), empty when it is done.
    std::string Progress() const;

private:
    void Start();
    void Stop();
    void SyncRings();
    void HandOutResults();
    void FollowChanges();
    void RefreshChangedFolders();
    // False when the ring was closed because its own folder is gone.
    bool RefreshChangedFolder(QOXRing* ring);
    void RefreshUnwatchedRings(float frameSeconds);

    QOXApp& App;
    std::unique_ptr<platform::FolderCounter> Counter; // owned while counting is on
    std::unique_ptr<platform::FolderWatcher> Watcher; // owned while counting is on
    std::optional<int> WatchLimit;
    platform::VolumeCrossing Crossing = platform::VolumeCrossing::EnterOtherVolumes;
    double Clock = 0.0;             // seconds of frame time while counting
    float UnwatchedClock = 0.0f;
    bool LimitReported = false;     // the console heard about the watch limit
    std::vector<platform::CountResult> Results;
};
