#pragma once
// A ring: one folder shown as concentric bands, its element tree, its layers, its view state
// (position, rotation, zoom) with their animations, and its minimise animation.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "resources/resource_list.h"
#include "ring/element_folder.h"
#include "ring/ring_hidden.h"
#include "ring/ring_layer.h"

class QRDisplayList;
class QRESummary;
class QRFolderScan;
class QRIteration;
class QRRingHistory;
class QRRingSizes;
class QRSmallItems;
class QRViewMatch;

struct QRDriveInfo {
    std::string TypeText;   // "HDD", "Removable Device", ... or empty
    std::int64_t Total = -1; // bytes
    std::int64_t Free = -1;  // bytes
};

// The folders the ring had as its root before the one it shows (Back, the last the latest) and
// those it came back from (Forward), for going back and forth.
struct QRRootHistory {
    std::vector<std::string> Back;
    std::vector<std::string> Forward;
};

class QOXRing : public QOXObject {
    QOX_CLASS(QOXRing)
public:
    static constexpr float kMinimizeSpeed = 3.0f;
    static constexpr float kFocusOffset = 10.0f;

    // `folder` ends in "/". A ring has no parent: the application's ring list owns it.
    explicit QOXRing(const std::string& folder);

    using Clock = std::chrono::steady_clock;
    // A scan across frames lays the ring out again once its elements have grown by this factor,
    // so that the layouts of a growing ring cost a few times one layout of the whole.
    static constexpr float kScanLayoutGrowth = 1.5f;

    // Shows another folder: the old tree is freed and a new, empty root made.
    void SetFolder(const std::string& folder);
    // Expands the root with a scan that runs across frames: what is read until `deadline` is in at
    // once, the rest comes with ContinueScan. A root that has children already is scanned whole.
    void ExpandAcrossFrames(Clock::time_point deadline);
    // Adds what is read until `deadline` (a part at least), laying the ring out as it grows and
    // once it is whole.
    void ContinueScan(Clock::time_point deadline);
    // Reads the rest of the folder at once, when its scan is still under way.
    void FinishScanOf(const QREFolder& folder);
    bool Scanning() const { return RootScan != nullptr; }
    bool Scanning(const QREFolder& folder) const;
    void SetView(const QXVector& position, const QXVector& rotation, float zoom);
    void ResetView();
    // Zooms, animated, to `zoom` (and, centring the ring, moves it back to the middle of the view).
    void ZoomTo(float zoom);
    void Relayout();
    // Removed: the ring's own folder is gone; the ring touched nothing more and its owner frees it.
    QROutcome Refresh();
    // Removed: the root itself was deleted; the owner frees the ring.
    QROutcome DeleteSelected();
    // What is drawn selected (QRLayout::CollectShownSelected).
    void CollectSelected(QRList<QRElement>& marked);
    void DeselectAll();
    void FocusOn(QRElement* element);
    void UpOneLevel();
    void Minimize();
    void Restore();
    bool IsFullyShown() const;
    bool IsFullyMinimized() const;
    bool IsMinimizeAnimating() const;
    // The inner radius of a layer, made first (with the layers before it) when it does not exist.
    float InnerRadius(int level);
    void Update();
    QRDriveInfo DriveInfo() const;
    int MaxDepth() const;
    // Whether an expand or collapse zooms the ring to fit the view (size true, "FitRingToWindow").
    static bool FitsView();
    // Called for an element about to be freed with everything below it (once for a whole subtree),
    // while it is still whole.
    void ElementFreed(const QRElement* element);

    std::string Folder;
    QXVector Position{0.0f, 0.0f, 0.0f};
    QXVector Rotation{0.0f, 0.0f, 0.0f}; // degrees; only Z turns
    float Zoom = 1.0f;
    float BaseZoom = 1.0f;
    bool LayoutNeeded = false;
    QRIteration* PositionAnimation = nullptr; // owned as a child
    QRIteration* RotationAnimation = nullptr; // owned as a child
    QRIteration* ZoomAnimation = nullptr;     // owned as a child
    QRElement* Target = nullptr;              // not owned; the element the view is brought to
    QRIteration* MinimizeAnimation = nullptr; // owned as a child; progress 1 minimised, 0 shown
    // The miniature's geometry, compiled and replayed by the renderer; the ring itself never calls GL.
    QRDisplayList* DisplayList = nullptr; // owned as a child
    // The cached geometry is out of date; the renderer rebuilds it and clears the mark.
    bool DisplayListStale = true;
    bool Minimized = true;
    QREFolder* Root = nullptr;           // owned; freed with the ring
    QRViewMatch* Matching = nullptr;     // not owned; the view matcher of the pass that runs, if any
    QRList<QRLayer>* Layers = nullptr;   // owned as a child; owns the layers
    // Owned; the sizes counted in the background while that is on (the application makes it).
    QRRingSizes* Sizes = nullptr;
    // Owned; a ring on a size history, which never touches the disk; none for a ring on the disk.
    std::unique_ptr<QRRingHistory> History;
    // The number of the ring's last layout, counted over every ring of the program, so that a
    // cache keyed by ring and layout never takes a new ring at an old one's address for it.
    std::uint64_t LayoutCount = 0;
    // Owned; the free space of the volume whose mount point the ring's folder is, a sector beside
    // the root's children while size-true rings show free space ("ShowFreeSpace"); none otherwise.
    QRESummary* FreeSpace = nullptr;
    // Owned; freed with the ring: the sectors of small items gathered in the ring's folders.
    QRSmallItems* SmallItems = nullptr;
    // Screen pixels per ring unit as the view last showed the ring, 0 until it has: size true,
    // children narrower than about two pixels are gathered (none while it is 0).
    float PixelsPerUnit = 0.0f;
    float LaidOutPixelsPerUnit = 0.0f; // PixelsPerUnit at the last layout
    // An expand or collapse changed how far the ring reaches; the application zooms it to fit the
    // view when it is asked to ("FitRingToWindow") and clears the mark.
    bool FitWanted = false;
    std::unique_ptr<QRFolderScan> RootScan; // owned; the root's scan while it runs across frames
    bool FilesWithoutSizes = false; // some folder of the ring was read without its files' sizes
    QRHiddenItems Hidden;          // what the user hid from the ring
    QRRootHistory Roots;

protected:
    ~QOXRing() override;
    void BeforeDestroy() override;

private:
    void FreeRoot();
    // The scan is whole: the end of the root's expansion, and a layout.
    void EndScan();
    std::int64_t ChildrenOfRoot() const;
    void AddLayer(float width);
    void UpdateInnerRadii();
    // Makes, updates or drops FreeSpace before a layout.
    void UpdateFreeSpace();
    void DropFreeSpace();
    bool OnMountPoint();
    void WriteStatusBar() const;
    std::int64_t ScanLaidOut = 0; // the root's children at the last layout of a scan under way
    void AnimateView();
    void RetargetView();

    std::string MountCheckedFolder; // the Folder OnMountPoint last looked up
    bool MountPoint = false;
};
