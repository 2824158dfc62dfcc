#include "ring/ring_main.h"

#include "app/app_main.h"
#include "engine/qox_convert.h"
#include "platform/volumes.h"
#include "resources/resource_displaylist.h"
#include "ring/element_summary.h"
#include "ring/folder_scan.h"
#include "ring/resource_iteration.h"
#include "ring/ring_history.h"
#include "ring/ring_layout.h"
#include "ring/ring_sizes.h"
#include "ring/size_text.h"
#include "ring/small_items.h"

namespace {

constexpr float kCentreWidth = 3.0f;
constexpr float kRootLayerWidth = 4.0f;
constexpr float kResetZoom = 1.1f;
// Layouts of all rings so far (on the GUI thread alone).
std::uint64_t LayoutsSoFar = 0;

QRIteration* NewViewAnimation(QOXRing* ring)
{
    QRIteration* animation = QOXNew<QRIteration>(ring);
    animation->SetCurve(QRIteration::EaseInOut);
    return animation;
}

} // namespace

QOXRing::QOXRing(const std::string& folder) : QOXObject(nullptr, folder)
{
    SmallItems = new QRSmallItems(*this);
    SetFolder(folder);
    Layers = QOXNew<QRList<QRLayer>>(this, QRList<QRLayer>::Uniqueness::AllowDuplicates,
                                     QRList<QRLayer>::Ownership::OwnsItems);
    AddLayer(kCentreWidth);
    AddLayer(kRootLayerWidth);
    PositionAnimation = NewViewAnimation(this);
    RotationAnimation = NewViewAnimation(this);
    ZoomAnimation = NewViewAnimation(this);
    MinimizeAnimation = QOXNew<QRIteration>(this);
    MinimizeAnimation->Progress = 1.0f;
    DisplayList = QOXNew<QRDisplayList>(this);
}

QOXRing::~QOXRing() = default;

// The count goes first: the ring's folders are then freed without asking the counter about each.
void QOXRing::BeforeDestroy()
{
    delete Sizes;
    Sizes = nullptr;
    RootScan.reset();
    DropFreeSpace();
    FreeRoot();
    delete SmallItems;
    SmallItems = nullptr;
}

void QOXRing::SetFolder(const std::string& folder)
{
    Folder = folder;
    DropFreeSpace();
    RootScan.reset();
    FreeRoot();
    Root = new QREFolder(nullptr, this, "");
}

void QOXRing::ExpandAcrossFrames(Clock::time_point deadline)
{
    if (ChildrenOfRoot() > 0) {
        Root->Expand();
        return;
    }
    Root->Expanded = true;
    RootScan = std::make_unique<QRFolderScan>(*Root);
    ScanLaidOut = 0;
    if (RootScan->Continue(deadline)) {
        RootScan.reset();
        Root->CompleteExpand();
    }
}

void QOXRing::ContinueScan(Clock::time_point deadline)
{
    if (RootScan == nullptr)
        return;
    if (RootScan->Continue(deadline)) {
        EndScan();
        return;
    }
    const std::int64_t children = ChildrenOfRoot();
    if (static_cast<float>(children) >= static_cast<float>(ScanLaidOut) * kScanLayoutGrowth) {
        ScanLaidOut = children;
        Relayout();
    }
}

void QOXRing::FinishScanOf(const QREFolder& folder)
{
    if (!Scanning(folder))
        return;
    RootScan->Continue(Clock::time_point::max());
    EndScan();
}

bool QOXRing::Scanning(const QREFolder& folder) const
{
    return RootScan != nullptr && &RootScan->Folder() == &folder;
}

void QOXRing::EndScan()
{
    RootScan.reset();
    Root->CompleteExpand();
    Relayout();
}

std::int64_t QOXRing::ChildrenOfRoot() const
{
    return Root->Folders->Count() + Root->Files->Count();
}

// One announcement for the whole tree, then its folders and file blocks are freed.
void QOXRing::FreeRoot()
{
    if (Root == nullptr)
        return;
    ElementFreed(Root);
    delete Root;
    Root = nullptr;
}

void QOXRing::SetView(const QXVector& position, const QXVector& rotation, float zoom)
{
    Position = position;
    Rotation = rotation;
    Zoom = zoom;
    BaseZoom = zoom;
}

// A zoom to fit that is under way ends: the reset view stands.
void QOXRing::ResetView()
{
    ZoomAnimation->MoveDirection = QRIteration::Stopped;
    SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, kResetZoom);
}

void QOXRing::ZoomTo(float zoom)
{
    ZoomAnimation->SetScalar(zoom, Zoom);
    ZoomAnimation->Start(QRIteration::EaseInOut, QRIteration::Forwards, App()->Settings.RingAnimationSpeed);
    PositionAnimation->SetVector(Position, {0.0f, 0.0f, 0.0f});
    PositionAnimation->Start(QRIteration::EaseInOut, QRIteration::Forwards, App()->Settings.RingAnimationSpeed);
}

void QOXRing::Relayout()
{
    Hidden.Mark(*this);
    Root->UpdateVisibility();
    UpdateFreeSpace();
    LaidOutPixelsPerUnit = PixelsPerUnit;
    if (Sizes != nullptr && Sizes->Growth != nullptr)
        Sizes->Growth->Paint(*this);
    Root->Place(1, 360.0f, 0.0f);
    UpdateInnerRadii();
    DisplayListStale = true;
    LayoutCount = ++LayoutsSoFar;
}

QROutcome QOXRing::Refresh()
{
    if (History != nullptr)
        return QROutcome::Kept;
    if (Root->Refresh() == QROutcome::Removed)
        return QROutcome::Removed;
    if (Sizes != nullptr)
        Sizes->Refreshed();
    Relayout();
    return QROutcome::Kept;
}

QROutcome QOXRing::DeleteSelected()
{
    return Root->DeleteSelected();
}

void QOXRing::CollectSelected(QRList<QRElement>& marked)
{
    QRLayout::CollectShownSelected(*Root, marked);
}

// The sectors beside the children are no children of a folder: they are deselected on their own.
void QOXRing::DeselectAll()
{
    Root->DeselectAll();
    if (FreeSpace != nullptr)
        FreeSpace->Selected = false;
    SmallItems->DeselectAll();
}

void QOXRing::FocusOn(QRElement* element)
{
    const QASettings& settings = App()->Settings;
    if (settings.AutoCenter && !FitsView()) {
        PositionAnimation->SetVector(Position, Position);
        PositionAnimation->Restart(settings.RingAnimationSpeed);
    }
    if (settings.AutoRotate) {
        RotationAnimation->SetVector(Rotation, Rotation);
        RotationAnimation->Restart(settings.RingAnimationSpeed);
    }
    Target = element;
}

// Re-roots the ring at the parent folder: the old root becomes an expanded sub-folder of the new
// one, with everything that was open below it.
void QOXRing::UpOneLevel()
{
    if (Folder.size() < 2 || History != nullptr)
        return;
    FinishScanOf(*Root); // the old root moves down whole
    const std::size_t slash = Folder.rfind('/', Folder.size() - 2);
    if (slash == std::string::npos)
        return;
    DropFreeSpace(); // it lies beside the old root's children
    QREFolder* oldRoot = Root;
    const std::string component = Folder.substr(slash + 1);
    Folder = Folder.substr(0, slash + 1);
    Root = new QREFolder(nullptr, this, "");
    oldRoot->SetName(component);
    Root->AdoptFolder(oldRoot);
    Root->Expand();
    Relayout();
}

void QOXRing::Minimize()
{
    if (Minimized)
        return;
    MinimizeAnimation->Start(QRIteration::Linear, QRIteration::Forwards, kMinimizeSpeed);
    Minimized = true;
}

void QOXRing::Restore()
{
    if (!Minimized)
        return;
    const bool allMinimized = App()->AllRingsMinimized();
    MinimizeAnimation->Start(QRIteration::Linear, QRIteration::Backwards, kMinimizeSpeed);
    if (allMinimized)
        MinimizeAnimation->Progress = 0.5f;
    Minimized = false;
}

bool QOXRing::IsFullyShown() const
{
    return !Minimized && !MinimizeAnimation->Running();
}

bool QOXRing::IsFullyMinimized() const
{
    return Minimized && !MinimizeAnimation->Running();
}

bool QOXRing::IsMinimizeAnimating() const
{
    return MinimizeAnimation->Running();
}

float QOXRing::InnerRadius(int level)
{
    if (level < 0)
        return 0.0f;
    if (level > Layers->LastIndex()) {
        while (level > Layers->LastIndex())
            AddLayer(QRLayer::kDefaultWidth);
        UpdateInnerRadii();
    }
    return Layers->Get(level)->InnerRadius;
}

void QOXRing::Update()
{
    if (Rotation.Z < -180.0f)
        Rotation.Z += 360.0f;
    else if (Rotation.Z > 180.0f)
        Rotation.Z -= 360.0f;
    if (LayoutNeeded) {
        Root->Animate();
        Relayout();
    }
    if (App()->CurrentRing == this)
        WriteStatusBar();
    AnimateView();
    MinimizeAnimation->Tick();
}

QRDriveInfo QOXRing::DriveInfo() const
{
    const platform::Volume volume = platform::VolumeOf(Folder);
    const platform::VolumeSpace space = platform::SpaceOf(volume.MountPoint.empty() ? Folder : volume.MountPoint);
    return {volume.TypeText, space.Total, space.Free};
}

int QOXRing::MaxDepth() const
{
    return Root->MaxDepth(0);
}

void QOXRing::ElementFreed(const QRElement* element)
{
    if (Target != nullptr && Target->IsWithin(*element))
        Target = nullptr;
    if (Sizes != nullptr)
        Sizes->ElementFreed(element);
    if (QOXApp* app = App())
        app->ElementFreed(element);
    // Last: the sectors it frees may be what the others above still held.
    if (SmallItems != nullptr)
        SmallItems->ElementFreed(element);
}

void QOXRing::AddLayer(float width)
{
    Layers->Add(QOXNew<QRLayer>(Layers, Layers->Count(), width));
}

void QOXRing::UpdateInnerRadii()
{
    float radius = 0.0f;
    for (QRLayer* layer : *Layers) {
        layer->InnerRadius = radius;
        radius += layer->Width;
    }
}

// Size true, the size reads as the info box writes it, and "counting…" until it is known.
void QOXRing::WriteStatusBar() const
{
    const QOXApp* app = App();
    app->SetStatusText(QAStatusPanel::Folders, "Folders: " + QOXConvert::IntToStr(Root->TotalFolderCount()));
    app->SetStatusText(QAStatusPanel::Files, "Files: " + QOXConvert::IntToStr(Root->TotalFileCount()));
    if (!QRLayout::SizeTrue())
        app->SetStatusText(QAStatusPanel::Size, "Size: " + QOXConvert::IntToStr(Root->SizeForLayout()) + " Byte");
    else if (!Root->SizeKnown())
        app->SetStatusText(QAStatusPanel::Size, "Size: counting…");
    else
        app->SetStatusText(QAStatusPanel::Size, "Size: " + SizeTextIn(Root->Size, QRSizeUnits::Binary));
}

// The free space is shown for a ring on a volume's mount point; it is read at every layout, so a
// disk that fills shows it.
void QOXRing::UpdateFreeSpace()
{
    const QASettings& settings = App()->Settings;
    const bool shown = settings.SizeTrueRings && settings.ShowFreeSpace && OnMountPoint();
    const platform::VolumeSpace space = shown ? platform::SpaceOf(Folder) : platform::VolumeSpace{};
    if (space.Free < 0) {
        DropFreeSpace();
        return;
    }
    if (FreeSpace == nullptr)
        FreeSpace = new QRESummary(Root, this, QRSummaryKind::FreeSpace);
    FreeSpace->SetHolding(space.Free, 0);
}

bool QOXRing::FitsView()
{
    const QASettings& settings = App()->Settings;
    return settings.SizeTrueRings && settings.FitRingToWindow;
}

void QOXRing::DropFreeSpace()
{
    if (FreeSpace == nullptr)
        return;
    ElementFreed(FreeSpace);
    delete FreeSpace;
    FreeSpace = nullptr;
}

// The mount table is read once for each folder the ring shows.
bool QOXRing::OnMountPoint()
{
    if (MountCheckedFolder != Folder) {
        const platform::Volume volume = platform::VolumeOf(Folder);
        MountPoint = volume.MountPoint == Folder && !volume.TypeText.empty();
        MountCheckedFolder = Folder;
    }
    return MountPoint;
}

// The view follows its animations; an animation's last step (the one that reaches its end) is
// applied too, so the view arrives exactly.
void QOXRing::AnimateView()
{
    if (Target != nullptr)
        RetargetView();
    const bool moving = PositionAnimation->Running();
    const bool turning = RotationAnimation->Running();
    const bool zooming = ZoomAnimation->Running();
    PositionAnimation->Tick();
    RotationAnimation->Tick();
    ZoomAnimation->Tick();
    if (moving)
        Position = PositionAnimation->VectorValue();
    if (turning)
        Rotation = RotationAnimation->VectorValue();
    if (zooming)
        Zoom = ZoomAnimation->Value();
    if (!PositionAnimation->Running() && !RotationAnimation->Running() && !ZoomAnimation->Running())
        Target = nullptr;
}

// A ring zoomed to fit the view stays in its middle and only turns to the element.
void QOXRing::RetargetView()
{
    const QXVector place = Target->Position();
    if (!FitsView())
        PositionAnimation->ToVector = {place.X - kFocusOffset / Zoom, place.Y, place.Z};
    RotationAnimation->ToVector = {0.0f, 0.0f, 90.0f - Target->MidAngle()};
}
