#include "app/app_main.h"

#include <algorithm>

#include "app/app_keyboard.h"
#include "app/app_sizes.h"
#include "engine/qox_console.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "platform/directory_listing.h"
#include "platform/documents_folder.h"
#include "platform/system_folders.h"
#include "platform/volumes.h"
#include "presentation/gl_scene_host.h"
#include "ring/element_folder.h"
#include "ring/resource_iteration.h"
#include "resources/picture_prefetch.h"

namespace {

QOXApp* gApp = nullptr;

void Log(const std::string& line)
{
    Engine()->Console->AddLine(line);
}

} // namespace

QOXApp* App()
{
    return gApp;
}

QABusy::QABusy(const QOXApp& app) : Window(app.Window)
{
    if (Window != nullptr)
        Window->SetBusy(true);
}

QABusy::~QABusy()
{
    if (Window != nullptr)
        Window->SetBusy(false);
}

QOXApp::QOXApp(QOXObject* parent) : QOXObject(parent, kAppObjectName), Sizes(std::make_unique<QASizes>(*this))
{
    gApp = this;
    Rings = QOXNew<QRList<QOXRing>>(this, QRList<QOXRing>::Uniqueness::Unique, QRList<QOXRing>::Ownership::OwnsItems);
    Rings->SetKeepOrder(true);
    SetCurrentRing(nullptr);
    Views = QOXNew<QOXViewEngine>(this);
    Views->Display = this;
    Favorites = QOXNew<QOXFavoriteEngine>(this);
}

QOXApp::~QOXApp()
{
    if (gApp == this)
        gApp = nullptr;
}

// The rings, views and scene hold textures and display lists of the GL device's context, so they
// go while that context is current and before the device; the device and the input go last.
void QOXApp::BeforeDestroy()
{
    Engine()->Console->AddBlank();
    Engine()->Console->AddSeparator();
    Log("Application Layer: Shut down...");
    SaveSettings();
    MakeContextCurrent();
    CurrentRing = nullptr;
    Rings->Clear();
    Views->Display = nullptr;
    FreeParts();
    Engine()->Console->AddSeparator();
    Engine()->Console->AddBlank();
    FreeDeviceAndInput();
}

std::string QOXApp::SettingsPath() const
{
    return Engine()->FileSystem->MakeConfigPath(kSettingsName, kSettingsExtension);
}

// The window's ticks follow the settings whether a file was read or the defaults stand.
void QOXApp::LoadSettings()
{
    if (platform::IsFile(SettingsPath())) {
        Log("Loading Ini File...");
        ReadSettingsFile(SettingsPath(), Settings);
        Log("Done!");
    }
    if (Window != nullptr)
        Window->SettingsLoaded(Settings);
}

void QOXApp::SaveSettings() const
{
    if (!platform::IsFile(SettingsPath()))
        return;
    Log("Saving Ini File...");
    WriteSettingsFile(SettingsPath(), Settings);
    Log("Done!");
}

QOXRing* QOXApp::CreateRing(const std::string& path, QAScan scan)
{
    const std::string folder = QOXFileSystem::IncludeTrailingDelimiter(path);
    if (!platform::IsDirectory(folder)) {
        Engine()->Message("Directory \"" + folder + "\" not found!" + QOXConvert::LineBreak() +
                          "Maybe there is no device inserted in this drive.");
        return nullptr;
    }
    if (platform::HasNoMedium(folder)) {
        Engine()->Message("No device found on drive \"" + folder + "\"!");
        return nullptr;
    }
    if (!Settings.AllowMultipleEqualRings) {
        if (QOXRing* open = FindRing(folder)) {
            SetCurrentRing(open);
            return open;
        }
    }
    Favorites->Recent->AddFolder(folder);
    return AddRing(QOXNew<QOXRing>(folder), scan);
}

QOXRing* QOXApp::AddRing(QOXRing* ring, QAScan scan)
{
    ring->ResetView();
    if (scan == QAScan::AcrossFrames)
        ring->ExpandAcrossFrames(QOXRing::Clock::now() + FirstScanSlice);
    else
        ring->Root->Expand();
    ring->Relayout();
    Rings->Add(ring);
    SetCurrentRing(ring);
    return ring;
}

void QOXApp::OpenStartTargets(const std::vector<QAStartTarget>& targets)
{
    for (const QAStartTarget& target : targets) {
        QOXRing* ring = CreateRing(target.Folder, target.File.empty() ? QAScan::AcrossFrames : QAScan::Whole);
        if (ring == nullptr || target.File.empty() || Keys == nullptr)
            continue;
        for (QREFile* file : *ring->Root->Files)
            if (file->Name == target.File) {
                Keys->MoveTo(file);
                break;
            }
    }
}

void QOXApp::SetCurrentRing(QOXRing* ring)
{
    if (CurrentRing != nullptr)
        CurrentRing->Minimize();
    if (ring == nullptr)
        SetCaption(kAppCaption);
    CurrentRing = ring;
    if (Cursor != nullptr)
        Cursor->RingChanged(ring);
    if (ring != nullptr) {
        SetCaption(kAppCaptionPrefix + ring->Folder);
        if (Settings.RingDisplayDuration > 0.0f && Scene != nullptr)
            Scene->ShowRingTitle(ring->Folder);
        if (!ring->IsFullyShown())
            ring->Restore();
    }
    DeselectAllRings();
}

// Paths on this system are told apart by their exact bytes ("/A/" and "/a/" are two folders).
QOXRing* QOXApp::FindRing(const std::string& folder) const
{
    const auto found = std::find_if(Rings->begin(), Rings->end(), [&](const QOXRing* ring) { return ring->Folder == folder; });
    return found != Rings->end() ? *found : nullptr;
}

QOXRing* QOXApp::RingAt(int index) const
{
    return index >= 0 && index <= Rings->LastIndex() ? Rings->Get(index) : nullptr;
}

// A ring whose folder vanished leaves the list during its refresh; the walk goes on with the ring
// that followed it.
void QOXApp::RefreshAll()
{
    QABusy busy(*this);
    for (int index = 0; index <= Rings->LastIndex();)
        if (RefreshRing(Rings->Get(index)))
            ++index;
}

// Only a vanished current ring leaves no ring current; the user's ring stays when another one's
// folder went.
bool QOXApp::RefreshRing(QOXRing* ring)
{
    if (ring->Refresh() == QROutcome::Kept)
        return true;
    CloseRing(ring);
    return false;
}

void QOXApp::UpdateRings(float frameSeconds)
{
    for (QOXRing* ring : *Rings) {
        ring->Update();
        FollowView(*ring);
    }
    RefreshClock += frameSeconds;
    if (Settings.AutoRefreshTime > 0.0f && RefreshClock >= Settings.AutoRefreshTime) {
        RefreshClock = 0.0f;
        RefreshAll();
    }
    ShowProgress();
}

void QOXApp::FollowDisk(float frameSeconds)
{
    ContinueScans();
    Sizes->Pump(frameSeconds);
}

void QOXApp::ContinueScans()
{
    const auto deadline = QOXRing::Clock::now() + ScanSlice;
    if (CurrentRing != nullptr)
        CurrentRing->ContinueScan(deadline);
    for (QOXRing* ring : *Rings)
        if (ring != CurrentRing)
            ring->ContinueScan(deadline);
}

void QOXApp::ShowProgress()
{
    std::string text = Sizes->Progress();
    if (const QOXRing* ring = CurrentRing; ring != nullptr && ring->Scanning())
        text = "Reading… " + QOXConvert::IntToStr(ring->Root->Folders->Count() + ring->Root->Files->Count()) + " entries";
    if (text == ProgressShown)
        return;
    ProgressShown = text;
    SetStatusText(QAStatusPanel::Counting, text);
}

void QOXApp::ApplyDisplayChange()
{
    QABusy busy(*this);
    if (CurrentRing != nullptr) {
        if (Cursor != nullptr)
            Cursor->RefocusPicked();
        for (int step = 0; step < kMaxDisplayChangeUpdates && CurrentRing->PositionAnimation->Running(); ++step)
            CurrentRing->Update();
    }
    for (QOXRing* ring : *Rings)
        ring->Relayout();
}

void QOXApp::DeleteSelectedInCurrentRing()
{
    QABusy busy(*this);
    if (CurrentRing != nullptr && CurrentRing->DeleteSelected() == QROutcome::Removed)
        CloseRing(CurrentRing);
}

void QOXApp::CollectSelectedInCurrentRing(QRList<QRElement>& marked)
{
    if (CurrentRing != nullptr)
        CurrentRing->CollectSelected(marked);
}

void QOXApp::DeselectAllRings()
{
    for (QOXRing* ring : *Rings)
        ring->DeselectAll();
}

void QOXApp::CloseRing(QOXRing* ring)
{
    if (ring == CurrentRing)
        SetCurrentRing(nullptr);
    Rings->Delete(ring);
}

void QOXApp::CloseAllRings()
{
    if (CurrentRing != nullptr)
        SetCurrentRing(nullptr);
    Rings->Clear();
}

bool QOXApp::AllRingsMinimized() const
{
    return std::none_of(Rings->begin(), Rings->end(),
                        [](const QOXRing* ring) { return ring->IsFullyShown() || ring->IsMinimizeAnimating(); });
}

std::string QOXApp::DriveLabel(const std::string& path) const
{
    const std::string type = platform::VolumeOf(path).TypeText;
    if (type.empty())
        return "";
    return CutText(path, kStringName) + "  (" + type + ")";
}

std::string QOXApp::SpecialFolder(const std::string& variable)
{
    return platform::SpecialFolder(variable);
}

std::string QOXApp::DocumentsFolder()
{
    return platform::DocumentsFolder();
}

void QOXApp::WatchElements(QRElementWatcher* watcher)
{
    if (std::find(Watchers.begin(), Watchers.end(), watcher) == Watchers.end())
        Watchers.push_back(watcher);
}

void QOXApp::UnwatchElements(QRElementWatcher* watcher)
{
    std::erase(Watchers, watcher);
}

void QOXApp::ElementFreed(const QRElement* element)
{
    for (QRElementWatcher* watcher : Watchers)
        watcher->ElementFreed(element);
}

void QOXApp::SetStatusText(QAStatusPanel panel, const std::string& text) const
{
    if (Window != nullptr)
        Window->SetStatusText(panel, text);
}

void QOXApp::SetCaption(const std::string& caption)
{
    Caption = caption;
    if (Window != nullptr)
        Window->SetCaption(caption);
}
