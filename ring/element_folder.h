#pragma once
// A folder on a ring: it owns its sub-folders and files, scans its directory for new entries,
// expands and collapses, and lays its visible children out in its own sector.
#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "platform/directory_listing.h"
#include "ring/element_file.h"
#include "ring/element_main.h"
#include "ring/file_arena.h"
#include "ring/name_store.h"

class QRFolderListing;
class QRIteration;

// Whether a folder entry is a symbolic link (Expand All never descends through one).
enum class QRLink { Plain, SymbolicLink };

// Subtree: the sub-folders refresh themselves too. FolderOnly: only the folder's own entries (a
// change reported for that folder alone).
enum class QRRefreshDepth { Subtree, FolderOnly };

// How a walk down a path treats the folders on its way: Loaded takes only what the ring holds;
// Reading reads each folder on the way (without opening it); Expanding opens each one.
enum class QRPathWalk { Loaded, Reading, Expanding };

struct QRAttributes {
    bool Hidden = false;
    bool ReadOnly = false;
};

class QREFolder : public QRElement {
public:
    QREFolder(QREFolder* parent, QOXRing* ring, std::string_view name, QRLink link = QRLink::Plain);
    ~QREFolder() override;

    int MaxDepth(int depth) const override;
    QROutcome Refresh() override { return RefreshEntries(QRRefreshDepth::Subtree); }
    QROutcome DeleteFromDisk() override;
    QROutcome DeleteSelected() override;
    void DeselectAll() override;
    void UpdateVisibility() override;
    void ApplyVisibility() override;
    void Activate() override { ToggleExpanded(); }
    void Place(int level, float end, float start) override;
    std::int64_t ComputeSize() override;
    void Animate() override;
    bool IsFolder() const override { return true; }
    float Weight() const override { return AnimatedWeight; }

    // Removed: the folder is gone from the disk; its owner frees it.
    QROutcome RefreshEntries(QRRefreshDepth depth);
    // Adds the entries that are new; never removes. A folder whose scan runs across frames (a new
    // ring's) is left to it.
    void Scan();
    void Expand();
    // The end of Expand, after the scan: sizes, focus and visibility.
    void CompleteExpand();
    void Collapse();
    void ToggleExpanded();
    void ExpandAll();
    void FocusTarget();
    // Animates Weight towards `target` and asks the ring for a new layout.
    void SetWeightTarget(float target);
    // Frees the child (it leaves its list first); an element that is not a child is ignored.
    void RemoveChild(QRElement* element);
    // Takes an element (with its subtree) as a sub-folder of this one.
    void AdoptFolder(QREFolder* folder);
    // Packs the children's names into one block when most of their store has become garbage.
    void PackNames();

    // The child with that name (a folder's ends in "/"), or none.
    QRElement* ChildNamed(std::string_view name) const;
    // The element that `relative` names below this folder ("docs/deep/c.bin"), or none.
    QRElement* Descendant(std::string_view relative, QRPathWalk walk);

    // The counts are kept as children come, go and show or hide, so reading them walks nothing.
    int VisibleFolderCount() const { return ShownFolders; }
    int VisibleFileCount() const { return ShownFiles; }
    int VisibleChildCount() const { return ShownFolders + ShownFiles; }
    // The visible sub-folders (files) of this folder and of every folder below it, shown or not.
    std::int64_t TotalFolderCount() const { return TotalFolders; }
    std::int64_t TotalFileCount() const { return TotalFiles; }
    QRAttributes Attributes() const;

    // Sub-folders first, then files, each in list order: the order of every walk over children.
    template <class Visit>
    void ForEachChild(Visit visit) const
    {
        for (QREFolder* folder : *Folders)
            visit(static_cast<QRElement*>(folder));
        for (QREFile* file : *Files)
            visit(static_cast<QRElement*>(file));
    }

    QRList<QREFolder>* Folders = nullptr; // owned; owns the sub-folders
    QRList<QREFile>* Files = nullptr;     // owned; refers to the files, which FileArena owns
    QRIteration* WeightAnimation = nullptr; // owned; exists only while the weight animates
    float AnimatedWeight = 1.0f;
    // The largest label scale among the files as the last layout placed them, so that a pass can
    // pass over files whose labels are all too small to read; 1 (no promise) until a layout and
    // after a file shows or hides. A file added since has no sector, hence no label.
    float LargestFileScale = 1.0f;
    // The widest sector among the files as the last layout placed them (degrees), so that a pass
    // can tell all of them thin at once; a full turn (no promise) until a layout and after a file
    // shows or hides.
    float WidestFileSector = 360.0f;
    bool Expanded = false;
    bool Link = false; // the entry is a symbolic link to a folder
    // What is hidden from the ring (QRHiddenItems sums it before each layout): the bytes anywhere
    // below, left out of the size shown, and the children hidden with their bytes.
    std::int64_t HiddenBelow = 0;
    std::int64_t HiddenChildBytes = 0;
    int HiddenChildren = 0;

private:
    friend class QRElement; // keeps its name in its parent's ChildNames, tells of its visibility
    friend class QRFolderScan; // adds the entries it reads

    // Every child joins and leaves through these, so that the counts follow.
    void Attach(QREFolder* folder);
    void Attach(QREFile* file);
    // Takes the child out of the counts, announces its end and frees it.
    void Drop(QREFolder* folder);
    void Drop(QREFile* file);
    void Forget(QRElement& child);
    // Adds (sign 1) or takes away (sign -1) what the child counts here and above.
    void Count(const QRElement& child, int sign);
    void VisibilityChanged(const QRElement& child);
    // Adds to the totals of this folder and every folder above it.
    void AddToTotals(std::int64_t folders, std::int64_t files);

    platform::ListingDetail ScanDetail() const;
    // ExpandAll without the last pass over the visibility of the whole tree.
    void ExpandBelow();
    // Adds the entries whose names are not in `known` (the children's names before the pass).
    void AddEntries(const QRFolderListing& listing, const std::unordered_set<std::string_view>& known);
    void RefreshChildren(const QRFolderListing& listing, QRRefreshDepth depth);

    QRNameStore ChildNames; // the children's names, and a root's own
    QRFileArena FileArena;  // the files; freed after the lists
    int ShownFolders = 0;
    int ShownFiles = 0;
    std::int64_t TotalFolders = 0;
    std::int64_t TotalFiles = 0;
};
