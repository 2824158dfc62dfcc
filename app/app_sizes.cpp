#include "app/app_sizes.h"

#include <algorithm>
#include <ctime>

#include "app/app_growth.h"
#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
#include "platform/date_text.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "ring/ring_sizes.h"

namespace {

// The current ring counts first, at normal priority too while the user looks at it (the window is
// active, or there is no window and a tool waits for the count); rings on screen after it;
// minimised rings wait until shown.
platform::CountStanding StandingOf(const QOXApp& app, const QOXRing& ring)
{
    if (&ring == app.CurrentRing)
        return app.HasKeyboardFocus() || app.Window == nullptr ? platform::CountStanding::Watched
                                                                : platform::CountStanding::Current;
    return ring.IsFullyMinimized() ? platform::CountStanding::Waiting : platform::CountStanding::Shown;
}

std::int64_t Now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

// The folders' totals of the newest complete count, and of a partial count made after it.
std::unique_ptr<QRRecordedSizes> SizesOf(const platform::SizeHistory& history)
{
    auto sizes = std::make_unique<QRRecordedSizes>();
    const platform::SizeCount* complete = history.NewestComplete();
    const platform::SizeCount* newest = history.Newest();
    for (const platform::SizeCount* count : {complete, newest == complete ? nullptr : newest}) {
        if (count == nullptr)
            continue;
        sizes->Time = count->Time;
        for (std::size_t i = 0; i < count->Paths.size(); ++i) {
            const std::string& path = history.Paths[count->Paths[i]];
            if (!platform::IsFolderPath(path))
                continue;
            const platform::SizeTotals& totals = count->Totals[i];
            sizes->Folders[path] = {totals.Bytes, totals.Files, totals.Folders, 0, 0, 0, totals.AllocatedBytes};
        }
    }
    return sizes->Folders.empty() ? nullptr : std::move(sizes);
}

platform::VolumeCrossing CrossingOf(const QASettings& settings)
{
    return settings.StayOnOneFileSystem ? platform::VolumeCrossing::StayOnOneFileSystem
                                        : platform::VolumeCrossing::EnterOtherVolumes;
}

} // namespace

QASizes::QASizes(QOXApp& app) : App(app) {}

// The rings, and with them their counts, are gone by now (the application frees them first).
QASizes::~QASizes() = default;

void QASizes::Pump(float frameSeconds)
{
    if (!App.Settings.CountFolderSizesInBackground) {
        if (Counting())
            Stop();
        return;
    }
    if (!Counting())
        Start();
    Clock += frameSeconds;
    SyncRings();
    HandOutResults();
    FollowRecorder();
    SyncGrowth();
    FollowChanges();
    RefreshChangedFolders();
    RefreshUnwatchedRings(frameSeconds);
    for (QOXRing* ring : *App.Rings)
        if (ring->Sizes != nullptr)
            ring->Sizes->Animate();
}

// Rings read before counting started are read again, so that their files know their sizes; rings
// read with it on already do (the rings the program opens at start).
void QASizes::Start()
{
    Counter = std::make_unique<platform::FolderCounter>();
    Watcher = std::make_unique<platform::FolderWatcher>(WatchLimit);
    for (int index = 0; index <= App.Rings->LastIndex();) {
        QOXRing* ring = App.Rings->Get(index);
        if (!ring->FilesWithoutSizes || App.RefreshRing(ring)) {
            ring->FilesWithoutSizes = false;
            ++index;
        }
    }
}

// Counting turned off: the rings are sized as they were before it, and nothing reads the disk.
void QASizes::Stop()
{
    for (QOXRing* ring : *App.Rings) {
        if (ring->Sizes == nullptr)
            continue;
        ring->Sizes->ClearSizes();
        delete ring->Sizes;
        ring->Sizes = nullptr;
        ring->Relayout();
    }
    Recorder.reset();
    Counter.reset();
    Watcher.reset();
}

void QASizes::SyncRings()
{
    const platform::VolumeCrossing crossing = CrossingOf(App.Settings);
    for (QOXRing* ring : *App.Rings) {
        if (ring->History != nullptr)
            continue; // a ring on a size history counts nothing
        if (ring->Sizes != nullptr && ring->Sizes->Crossing != crossing) {
            delete ring->Sizes; // counted again across volumes or not
            ring->Sizes = nullptr;
        }
        if (ring->Sizes == nullptr)
            ring->Sizes = new QRRingSizes(*ring, *Counter, *Watcher, crossing, this);
        ring->Sizes->Sync(StandingOf(App, *ring));
        if (ring->Sizes->Watch.LimitReached() && !LimitReported) {
            LimitReported = true;
            Engine()->Console->AddLine("Folder watches: the system's limit is reached; folders not watched follow the "
                                       "disk at the automatic refresh (every 5 seconds while AutoRefreshTime is 0)");
        }
    }
}

void QASizes::HandOutResults()
{
    if (!Counter->TryTakeResults(Results))
        return; // a worker holds the counter: the results wait for the next frame
    for (const platform::CountResult& result : Results) {
        const auto ring = std::find_if(App.Rings->begin(), App.Rings->end(),
                                       [&](const QOXRing* r) { return r->Sizes != nullptr && r->Sizes->Tree == result.Tree; });
        if (ring != App.Rings->end())
            (*ring)->Sizes->Apply(result);
    }
}

// Each ring's count goes into its folder's history as it completes ("RecordSizeHistory").
void QASizes::FollowRecorder()
{
    if (!App.Settings.RecordSizeHistory) {
        Recorder.reset();
        return;
    }
    if (Recorder == nullptr)
        Recorder = std::make_unique<QASizeRecorder>(*Counter, platform::SizeHistoryFolder());
    Recorder->SetKeep(App.Settings.SizeHistoryCounts);
    const std::int64_t now = Now();
    for (QOXRing* ring : *App.Rings)
        if (ring->Sizes != nullptr)
            Recorder->Follow(ring->Sizes->Tree, ring->Folder, ring->Sizes->Progress(), Clock, now);
    for (const std::string& problem : Recorder->TakeProblems())
        ReportHistoryProblem(problem);
}

std::optional<platform::SizeHistory> QASizes::ReadHistory(const std::string& folder)
{
    const std::string path = platform::HistoryPathOf(folder, platform::SizeHistoryFolder());
    platform::SizeHistory history;
    const platform::HistoryFileRead read = platform::ReadHistoryFile(path, history);
    if (read.Outcome == platform::HistoryRead::Refused)
        ReportHistoryProblem("Size history \"" + path + "\" could not be read: " + read.Problem);
    if (read.Outcome != platform::HistoryRead::Read || history.Root != folder)
        return std::nullopt;
    return history;
}

std::unique_ptr<QRRecordedSizes> QASizes::Recorded(const std::string& folder)
{
    if (!App.Settings.RecordSizeHistory)
        return nullptr;
    const std::optional<platform::SizeHistory> history = ReadHistory(folder);
    return history ? SizesOf(*history) : nullptr;
}

// "Show Growth": the count "GrowthSince" names colours each ring; made again when the setting,
// the ring's folder or this session's own count of it changes.
void QASizes::SyncGrowth()
{
    const QASettings& settings = App.Settings;
    for (QOXRing* ring : *App.Rings) {
        if (ring->Sizes == nullptr)
            continue;
        QRRingSizes& sizes = *ring->Sizes;
        const std::optional<std::int64_t> own = SessionCount(ring->Folder);
        const bool shown = settings.ShowGrowth && settings.RecordSizeHistory;
        const std::string key = shown ? settings.GrowthSince + "\n" + ring->Folder + "\n" + (own ? std::to_string(*own) : "") : "";
        if (key == sizes.GrowthKey)
            continue;
        sizes.GrowthKey = key;
        const bool painted = sizes.Growth != nullptr;
        sizes.Growth = shown ? LoadGrowth(ring->Folder) : nullptr;
        if (painted && sizes.Growth == nullptr)
            QRRingGrowth::Unpaint(*ring->Root);
        if (painted || sizes.Growth != nullptr)
            ring->Relayout();
    }
}

std::unique_ptr<QRRingGrowth> QASizes::LoadGrowth(const std::string& folder)
{
    const std::optional<platform::SizeHistory> history = ReadHistory(folder);
    if (!history)
        return nullptr;
    const platform::SizeCount* base = GrowthBase(*history, App.Settings.GrowthSince, SessionCount(folder));
    if (base == nullptr)
        return nullptr;
    std::unordered_map<std::string, platform::SizeTotals> then;
    then.reserve(base->Paths.size());
    for (std::size_t i = 0; i < base->Paths.size(); ++i)
        then.emplace(history->Paths[base->Paths[i]], base->Totals[i]);
    return std::make_unique<QRRingGrowth>(base->Time, std::move(then));
}

void QASizes::Leaving(platform::CountTreeId tree, const platform::CountProgress& progress)
{
    if (Recorder != nullptr)
        Recorder->Leave(tree, progress, Now());
}

std::optional<std::int64_t> QASizes::SessionCount(const std::string& folder) const
{
    return Recorder != nullptr ? Recorder->RecordedTime(folder) : std::nullopt;
}

void QASizes::ReportHistoryProblem(const std::string& problem)
{
    if (std::find(ProblemsReported.begin(), ProblemsReported.end(), problem) != ProblemsReported.end())
        return;
    ProblemsReported.push_back(problem);
    Engine()->Error("QX_FILE", problem);
}

void QASizes::FollowChanges()
{
    for (const int handle : Watcher->TakeChanged())
        for (QOXRing* ring : *App.Rings)
            if (ring->Sizes != nullptr)
                ring->Sizes->Watch.Changed(handle, Clock);
}

// A ring whose own folder went is closed on the way; the walk goes on with the ring after it.
void QASizes::RefreshChangedFolders()
{
    for (int index = 0; index <= App.Rings->LastIndex();)
        if (RefreshChangedFolder(App.Rings->Get(index)))
            ++index;
}

// Each changed folder reads its own entries again (not its sub-folders': those are watched on
// their own), and its count follows.
bool QASizes::RefreshChangedFolder(QOXRing* ring)
{
    bool changed = false;
    if (ring->Sizes == nullptr)
        return true;
    while (QREFolder* folder = ring->Sizes->Watch.TakeDue(Clock)) {
        changed = true;
        if (folder->RefreshEntries(QRRefreshDepth::FolderOnly) == QROutcome::Kept) {
            ring->Sizes->FolderChanged(*folder);
        } else if (folder->IsRoot()) {
            return App.RefreshRing(ring); // the ring's folder is gone: the refresh closes the ring
        } else {
            QREFolder* parent = folder->Parent;
            ring->Sizes->FolderChanged(*parent);
            parent->RemoveChild(folder);
        }
    }
    if (changed)
        ring->Relayout();
    return true;
}

void QASizes::RefreshUnwatchedRings(float frameSeconds)
{
    const auto unwatched = [](const QOXRing* ring) { return ring->Sizes != nullptr && ring->Sizes->Watch.LimitReached(); };
    // The automatic refresh, when it is on, refreshes every ring already.
    if (App.Settings.AutoRefreshTime > 0.0f || std::none_of(App.Rings->begin(), App.Rings->end(), unwatched)) {
        UnwatchedClock = 0.0f;
        return;
    }
    UnwatchedClock += frameSeconds;
    if (UnwatchedClock < kUnwatchedRefreshSeconds)
        return;
    UnwatchedClock = 0.0f;
    for (int index = 0; index <= App.Rings->LastIndex();) {
        QOXRing* ring = App.Rings->Get(index);
        if (!unwatched(ring) || App.RefreshRing(ring))
            ++index;
    }
}

std::string QASizes::Progress() const
{
    QOXRing* ring = App.CurrentRing;
    if (!Counting() || ring == nullptr || ring->Sizes == nullptr)
        return "";
    const platform::CountProgress progress = ring->Sizes->Progress();
    if (!progress.Busy)
        return "";
    if (const std::optional<std::int64_t> recorded = ring->Sizes->RecordedTime())
        return "Counting… sizes from " + platform::DayMonthText(*recorded);
    return "Counting… " + QOXConvert::IntToStr(progress.FoldersCounted) + " folders";
}
