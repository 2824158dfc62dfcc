#pragma once
// The one layout of a ring: how a folder's sector is shared among its children, and which elements
// are on screen with a sector of their own. The bands, the labels, the outlines, the pick and the
// keyboard cursor all take their angles from the elements this layout places and ask it the same
// questions, so that what is drawn is what is labelled and what is picked.
#include <array>

#include "ring/element_folder.h"

class QRLayout {
public:
    // Size-true rings ("SizeTrueRings"): every child's angle is its share of its folder's bytes,
    // with no least share and no widening; off, the shares and weights as designed.
    static bool SizeTrue();
    // The weight a child's part is multiplied with: its own as designed, 1 size true (an expanded
    // folder opens outwards within its own angle).
    static float LayoutWeight(const QRElement& element);
    // Sizes are the blocks files take on the disk ("SizeOnDisk"), not their apparent sizes.
    static bool SizesOnDisk();
    // The sectors the layout places after a folder's children, in drawing order, null where there
    // is none: its gathered small items, then (beside the root's children) the ring's free space.
    static std::array<QRElement*, 2> BesideOf(const QREFolder& folder);

    // Lays the visible children of `folder` out in the sector from `start` to `end` (degrees) on
    // `level`, sub-folders first and then files, each in list order, and each child's own children
    // in its sector. The children tile the sector exactly: every child's part is its weight times
    // its share (by size, the largest proportional to 1 and the others at least
    // "MinimumSizeFactor" of it; 1/n for an unset size; eased by a running share blend), and the
    // parts are scaled to fill the sector, so that no weight or blend makes two sectors overlap or
    // leaves a gap between them. Size true, a child's part is its bytes over its siblings' bytes
    // (one of unset size counts the mean of those known), children narrower on screen than about
    // two pixels are gathered (even one alone) into the folder's small-items sector after the
    // others, which is never narrower than those two pixels, and the root's free space, when
    // shown, takes its bytes' part last.
    static void PlaceChildren(QREFolder& folder, int level, float start, float end);

    // Whether the element is on screen: it and every folder above it visible, those folders expanded.
    static bool IsShown(const QRElement& element);
    // Whether its sector is wider than nothing: an element without one shows no band, has no label,
    // cannot be picked and is passed over by the keys.
    static bool HasSector(const QRElement& element) { return element.EndAngle > element.StartAngle; }
    // Gathered among its folder's small items: visible, without a sector of its own, while its
    // folder's small-items sector is shown. The keys still walk it; its sector stands for it.
    static bool IsGathered(const QRElement& element);
    // On screen with a sector: what the pointer and the keys can reach.
    static bool IsReachable(const QRElement& element) { return HasSector(element) && IsShown(element); }
    // What is drawn selected below `element` (itself included), in drawing order: a selected
    // element on screen with a sector; below a selected folder nothing more, since it stands for its
    // contents. Selected elements out of sight (hidden, in a closed folder) are left out.
    static void CollectShownSelected(QRElement& element, QRList<QRElement>& marked);
};

// Drawing order: the element, then (an expanded folder) its sub-folders and files with their
// subtrees, then the sectors beside them (small items, free space). An invisible element is
// skipped with its subtree.
template <class Visit>
void ForEachDrawnElement(QRElement* element, Visit& visit)
{
    if (!element->Visible)
        return;
    visit(element);
    if (!element->IsFolder())
        return;
    const auto* folder = static_cast<const QREFolder*>(element);
    if (!folder->Expanded)
        return;
    folder->ForEachChild([&visit](QRElement* child) { ForEachDrawnElement(child, visit); });
    for (QRElement* beside : QRLayout::BesideOf(*folder))
        if (beside != nullptr)
            visit(beside);
}

// The same walk with each drawn folder's files handed over together: `element` sees every drawn
// element but those files (the folders, the root, the sectors beside the children), `files` the
// folder whose files come next, in their place after its sub-folders. A pass that treats files
// alike walks them in a loop of its own, with what their band shares worked out once.
template <class Element, class Files>
void ForEachDrawnFolder(QREFolder* folder, Element& element, Files& files)
{
    if (!folder->Visible)
        return;
    element(static_cast<QRElement*>(folder));
    if (!folder->Expanded)
        return;
    for (QREFolder* child : *folder->Folders)
        ForEachDrawnFolder(child, element, files);
    files(*folder);
    for (QRElement* beside : QRLayout::BesideOf(*folder))
        if (beside != nullptr)
            element(beside);
}
