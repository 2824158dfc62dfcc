#pragma once
// The colours a ring's bands are drawn in before hover and selection shading. As designed, each
// element's own colour. Size true, colours tell neighbours apart: folders of the folder colour get
// lighter the deeper they lie and every other one among its sibling folders darker, keeping their
// hue; hidden entries are greyer; the free space is grey and gathered small items a neutral colour.
// The alternation is counted as the elements come, so a pass asks for every drawn element's colour
// once, in drawing order.
#include <vector>

#include "engine/qox_constant.h"

class QRElement;

class GLRingColours {
public:
    static constexpr QXColor kFreeSpaceColour{0.60f, 0.62f, 0.66f};
    static constexpr QXColor kSmallItemsColour{0.72f, 0.67f, 0.56f};

    // A pass over one ring begins: size true or as designed, and the folders' own colour.
    void Begin(bool sizeTrue, const QXColor& folderColour);
    // The colour of the next element in drawing order.
    QXColor Next(const QRElement& element);

    // A folder's colour `depth` bands out from the root's children, darker when `alternate`.
    static QXColor FolderShade(const QXColor& colour, int depth, bool alternate);
    // The colour moved most of the way to the grey of its own brightness, and darkened.
    static QXColor Greyer(const QXColor& colour);

private:
    bool SizeTrue = false;
    QXColor FolderColour;
    // For each level, the folders seen on it since the last folder one level in (their parent).
    std::vector<int> FoldersSeen;
};
