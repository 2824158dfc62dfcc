#pragma once
// One entry of the file system on a ring: a folder or a file. Elements are plain objects, owned by
// their folder (the root folder by its ring); they hold what layout, drawing, the info box, the
// cursor and the status bar need. A folder may hold a million of them, so an element is small: its
// name lives in its folder's name store, its colours in the palette, and files are made in blocks
// of one listing each (the folder's QRFileArena), not one heap block per file.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/qox_constant.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"
#include "ring/element_name.h"
#include "ring/palette_colour.h"

class QOXRing;
class QREFolder;
class QRNameStore;

class QRElement {
public:
    static constexpr QXColor kHiddenTint{0.5f, 0.5f, 0.5f};

    // `parent` is null for the root folder of a ring, whose owner is then the ring; only folders
    // are ever roots. A child's name is kept by its parent's name store.
    QRElement(QREFolder* parent, QOXRing* ring, std::string_view name);
    virtual ~QRElement();
    QRElement(const QRElement&) = delete;
    QRElement& operator=(const QRElement&) = delete;

    // Operations that folders and files fill in their own way.
    virtual int MaxDepth(int depth) const;
    virtual QROutcome Refresh() = 0;
    virtual QROutcome DeleteFromDisk() = 0;
    virtual QROutcome DeleteSelected();
    virtual void DeselectAll() { Selected = false; }
    virtual void UpdateVisibility() { ApplyVisibility(); }
    virtual void ApplyVisibility() = 0;
    virtual void Activate() = 0;
    virtual void Place(int level, float end, float start);
    // The size as the layout uses it, after determining it where possible.
    virtual std::int64_t ComputeSize() = 0;
    virtual void Animate() {}
    virtual bool IsFolder() const { return false; }
    // The angular weight the designed layout gives the element; only a folder's animates, a
    // file's stays 1.
    virtual float Weight() const { return 1.0f; }
    // A sector that stands for no one entry (free space, small items gathered): QRESummary.
    virtual bool IsSummary() const { return false; }
    bool IsFile() const { return !IsFolder() && !IsSummary(); }

    void UpdateLabel();
    void UpdateScale();
    // Label and scale again, for an element that is still on the disk.
    void RefreshLook();

    bool IsRoot() const { return Parent == nullptr; }
    // The ring's folder followed by the names down to this element; a folder's path ends in "/".
    std::string FullPath() const;
    // Renames the element (its label follows); the hidden mark follows the new name.
    void SetName(std::string_view name);
    // Keeps the name in `to` from now on; `from` is the store that kept it so far.
    void MoveName(QRNameStore& from, QRNameStore& to);
    // The size shown: a folder's without what is hidden from the ring below it; -1 while unset.
    std::int64_t ShownSize() const;
    // The shown size in all its 64 bits, with an empty entry counting 1; -1 while unset. A file
    // of 2 GiB or more is as large on the ring as it is on the disk.
    std::int64_t SizeForLayout() const;
    // As SizeForLayout, with what is hidden from the ring below a folder.
    std::int64_t WholeSizeForLayout() const { return Size == 0 ? 1 : Size; }
    bool SizeKnown() const { return Size >= 0; }
    float SizeRatio(std::int64_t min, std::int64_t max) const;
    // The centre of the element's sector in ring space.
    QXVector Position() const;
    float MidAngle() const { return (StartAngle + EndAngle) / 2.0f; }
    // Whether the element is `top` or lies below it.
    bool IsWithin(const QRElement& top) const;
    // Shows or hides the element; its folder's status counts follow.
    void SetVisible(bool visible);

    // The fields, largest first, so that they pack without gaps (80 bytes with the table of
    // operations; a file adds its view).
    QREFolder* Parent = nullptr; // not owned; the folder that owns this element, null for a root
    QOXRing* Ring = nullptr;     // not owned; the ring the element lies on
    QRName Name;                 // own name only; a folder's ends in "/"; a root's is empty
    std::int64_t Size = -1;      // bytes; -1 unset
    QRLabel Label;
    // The fields are in this order so that none needs padding: 72 bytes in all.
    QRPaletteColour Colour{QXColor{0.0f, 1.0f, 0.0f}};
    QRPaletteColour Tint{QXColor{1.0f, 1.0f, 1.0f}};
    float StartAngle = 0.0f;
    float EndAngle = 0.0f;
    float Scale = 1.0f;
    std::int16_t Level = 0; // a path of 4096 bytes has fewer levels than this holds
    // One bit each, so that a file element stays within its 80 bytes of the arena.
    bool Selected : 1 = false;
    bool Visible : 1 = true;
    bool Hidden : 1 = false;         // the name begins with "."
    bool HiddenFromRing : 1 = false; // the user hid it from the ring (QRHiddenItems); the disk is untouched
    bool Attached : 1 = false;       // one of its folder's children, and in the folder's counts

protected:
    // The store that keeps this element's name: its parent's; a root folder keeps its own.
    QRNameStore& NameStore();
    void DetermineHidden();
    // Removes the entry through one of the deletion entry points; Removed when it is gone.
    QROutcome DeleteThrough(bool (QRDeletion::*entryPoint)(const std::string& path)) const;
};
