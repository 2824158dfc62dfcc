#pragma once
// A sector that stands for something other than one entry: the free space of the volume a ring's
// folder is the mount point of ("Free space"), or the children of a folder too small to be told
// apart on screen ("N small items"). The layout places it after its folder's children, it is drawn
// last among them, picked, pointed at and walked by the keys like any element, but it is no entry
// of the disk: it is never listed among its folder's children, never deleted, opened or renamed.
#include <cstdint>
#include <string>

#include "ring/element_main.h"

enum class QRSummaryKind { FreeSpace, SmallItems };

class QRESummary : public QRElement {
public:
    // `folder` is the folder it lies in (for the free space, the ring's root); it is not one of the
    // folder's children.
    QRESummary(QREFolder* folder, QOXRing* ring, QRSummaryKind kind);
    // Its folder may be part-way through being freed: the sector keeps no name in the folder's store.
    ~QRESummary() override { Parent = nullptr; }

    QROutcome Refresh() override { return QROutcome::Kept; }
    QROutcome DeleteFromDisk() override { return QROutcome::Kept; }
    QROutcome DeleteSelected() override { return QROutcome::Kept; }
    void ApplyVisibility() override { Visible = true; }
    void Activate() override {}
    void Place(int level, float end, float start) override;
    std::int64_t ComputeSize() override { return SizeForLayout(); }
    bool IsSummary() const override { return true; }

    // What the sector holds: its bytes (Size) and, for small items, how many elements.
    void SetHolding(std::int64_t bytes, std::int64_t count);
    // "Free space", "1 small item", "37 small items".
    std::string Caption() const;

    const QRSummaryKind Kind;
    std::int64_t Count = 0;
};
