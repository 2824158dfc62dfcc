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

#include "app/app_size_recorder.h"
#include "platform/size_history.h"
#include "platform/folder_count.h"
#include "platform/folder_watch.h"
#include "ring/ring_sizes.h"

class QOXApp;
class QOXRing;

class QASizes : public QRCountHistory {
public:
    // Without the automatic refresh, rings whose folders are not all watched are refreshed this
    // often instead.
    static constexpr float kUnwatchedRefreshSeconds = 5.0f;

    explicit QASizes(QOXApp& app);
    ~QASizes() override;
    QASizes(const QASizes&) = delete;
    QASizes& operator=(const QASizes&) = delete;

    // The frame's part, before the rings' updates. Never waits for a worker.
    void Pump(float frameSeconds);
    // Stands in for the system's limit of folder watches with a lower one (from the next start).
    void LimitWatches(int limit) { WatchLimit = limit; }
    bool Counting() const { return Counter != nullptr; }
    // How the current ring's count goes ("Counting… N folders"), empty when it is done.
    std::string Progress() const;

    // The size histories ("RecordSizeHistory"): the sizes recorded for a ring's folder, shown while
    // it counts, and each ring's count recorded (app_size_recorder).
    std::unique_ptr<QRRecordedSizes> Recorded(const std::string& folder) override;
    void Leaving(platform::CountTreeId tree, const platform::CountProgress& progress) override;
    // The counter while counting is on (not owned by the caller), else none.
    platform::FolderCounter* TheCounter() const { return Counter.get(); }
    // The time of the count this session recorded for a folder, if any.
    std::optional<std::int64_t> SessionCount(const std::string& folder) const;
    // Reports a size history's trouble once a run (under "QX_FILE").
    void ReportHistoryProblem(const std::string& problem);
    // A folder's size history; none (the trouble reported) when it cannot be read.
    std::optional<platform::SizeHistory> ReadHistory(const std::string& folder);

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
    void FollowRecorder();
    void SyncGrowth();
    std::unique_ptr<QRRingGrowth> LoadGrowth(const std::string& folder);

    QOXApp& App;
    std::unique_ptr<platform::FolderCounter> Counter; // owned while counting is on
    std::unique_ptr<platform::FolderWatcher> Watcher; // owned while counting is on
    std::unique_ptr<QASizeRecorder> Recorder;         // owned while counting and recording are on
    std::optional<int> WatchLimit;
    platform::VolumeCrossing Crossing = platform::VolumeCrossing::EnterOtherVolumes;
    double Clock = 0.0;             // seconds of frame time while counting
    float UnwatchedClock = 0.0f;
    bool LimitReported = false;     // the console heard about the watch limit
    std::vector<platform::CountResult> Results;
    std::vector<std::string> ProblemsReported;
};
