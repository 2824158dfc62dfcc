#pragma once
// One entry of the file system on a ring: a folder or a file. Elements are plain objects, owned by
// their folder's lists (the root folder by its ring); they hold what layout, drawing, the info box,
// the cursor and the status bar need.
#include <cstdint>
#include <string>

#include "engine/qox_constant.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"

class QOXRing;
class QREFolder;
class QRIteration;

// Whether CollectSelected takes unselected elements too.
enum class QRCollect { SelectedOnly, Everything };

class QRElement {
public:
    static constexpr QXColor kHiddenTint{0.5f, 0.5f, 0.5f};

    // `parent` is null for the root folder of a ring, whose owner is then the ring.
    QRElement(QREFolder* parent, QOXRing* ring, const std::string& name);
    virtual ~QRElement();
    QRElement(const QRElement&) = delete;
    QRElement& operator=(const QRElement&) = delete;

    // Operations that folders and files fill in their own way.
    virtual int MaxDepth(int depth) const;
    virtual QROutcome Refresh() = 0;
    virtual QROutcome DeleteFromDisk() = 0;
    virtual QROutcome DeleteSelected();
    virtual void CollectSelected(QRList<QRElement>& marked, QRCollect collect);
    virtual void DeselectAll() { Selected = false; }
    virtual void UpdateVisibility() { ApplyVisibility(); }
    virtual void ApplyVisibility() = 0;
    virtual void Activate() = 0;
    virtual void Place(int level, float end, float start);
    // The size as the layout uses it, after determining it where possible.
    virtual std::int64_t ComputeSize() = 0;
    virtual void Animate();
    virtual bool IsFolder() const { return false; }

    void UpdateLabel();
    void UpdateScale();
    // Label and scale again, for an element that is still on the disk.
    void RefreshLook();

    bool IsRoot() const { return Parent == nullptr; }
    // The ring's folder followed by the names down to this element; a folder's path ends in "/".
    std::string FullPath() const;
    // Renames the element (its label follows); the hidden mark follows the new name.
    void SetName(const std::string& name);
    // The size with an empty entry counting 1; -1 while unset. All 64 bits: a folder of some
    // gigabytes is never laid out as a negative size.
    std::int64_t SizeForLayout() const;
    bool SizeKnown() const { return Size >= 0; }
    float SizeRatio(std::int64_t min, std::int64_t max) const;
    // The centre of the element's sector in ring space.
    QXVector Position() const;
    float MidAngle() const { return (StartAngle + EndAngle) / 2.0f; }
    // Animates Weight towards `target` and asks the ring for a new layout.
    void SetWeightTarget(float target);

    QREFolder* Parent = nullptr; // not owned; the folder that owns this element, null for a root
    QOXRing* Ring = nullptr;     // not owned; the ring the element lies on
    std::string Name;            // own name only; a folder's ends in "/"; a root's is empty
    std::int64_t Size = -1;      // bytes; -1 unset
    bool Selected = false;
    int Level = 0;
    float StartAngle = 0.0f;
    float EndAngle = 0.0f;
    QXColor Colour{0.0f, 1.0f, 0.0f};
    float Weight = 1.0f;
    float Scale = 1.0f;
    std::string Label;
    QXColor Tint{1.0f, 1.0f, 1.0f};
    QRIteration* WeightAnimation = nullptr; // owned; exists only while Weight animates
    bool Visible = true;
    bool Hidden = false; // the name begins with "."
    // The share of its parent's sector (before weights) the last layout gave it; -1 before one.
    float Share = -1.0f;

protected:
    void DetermineHidden();
    // Removes the entry through one of the deletion entry points; Removed when it is gone.
    QROutcome DeleteThrough(bool (QRDeletion::*entryPoint)(const std::string& path)) const;
};
