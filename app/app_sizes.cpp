#include "app/app_sizes.h"

#include <algorithm>

#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
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
    FollowChanges();
    RefreshChangedFolders();
    RefreshUnwatchedRings(frameSeconds);
    for (QOXRing* ring : *App.Rings)
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
    Counter.reset();
    Watcher.reset();
}

void QASizes::SyncRings()
{
    const platform::VolumeCrossing crossing = CrossingOf(App.Settings);
    for (QOXRing* ring : *App.Rings) {
        if (ring->Sizes != nullptr && ring->Sizes->Crossing != crossing) {
            delete ring->Sizes; // counted again across volumes or not
            ring->Sizes = nullptr;
        }
        if (ring->Sizes == nullptr)
            ring->Sizes = new QRRingSizes(*ring, *Counter, *Watcher, crossing);
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
                                       [&](const QOXRing* r) { return r->Sizes->Tree == result.Tree; });
        if (ring != App.Rings->end())
            (*ring)->Sizes->Apply(result);
    }
}

void QASizes::FollowChanges()
{
    for (const int handle : Watcher->TakeChanged())
        for (QOXRing* ring : *App.Rings)
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
    const auto unwatched = [](const QOXRing* ring) { return ring->Sizes->Watch.LimitReached(); };
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
    return progress.Busy ? "Counting… " + QOXConvert::IntToStr(progress.FoldersCounted) + " folders" : "";
}
