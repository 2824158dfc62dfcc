#include "presentation/gl_ring_colours.h"

#include <algorithm>

#include "ring/element_summary.h"

namespace {

// How much lighter a folder is for each band further out, and at most.
constexpr float kLighterPerBand = 0.12f;
constexpr float kLightestShare = 0.48f;
// Every other sibling folder is darkened this much.
constexpr float kAlternateDarkness = 0.74f;
constexpr float kGreyShare = 0.65f;
constexpr float kGreyDarkness = 0.85f;
// The root lies on level 1, its children on level 2.
constexpr int kFirstChildLevel = 2;

float Luma(const QXColor& colour)
{
    return 0.299f * colour.X + 0.587f * colour.Y + 0.114f * colour.Z;
}

QXColor Mixed(const QXColor& from, const QXColor& to, float share)
{
    return {from.X + (to.X - from.X) * share, from.Y + (to.Y - from.Y) * share, from.Z + (to.Z - from.Z) * share};
}

QXColor Times(const QXColor& colour, float factor)
{
    return {colour.X * factor, colour.Y * factor, colour.Z * factor};
}

} // namespace

void GLRingColours::Begin(bool sizeTrue, const QXColor& folderColour)
{
    SizeTrue = sizeTrue;
    FolderColour = folderColour;
    FoldersSeen.clear();
}

QXColor GLRingColours::Next(const QRElement& element)
{
    if (!SizeTrue)
        return element.Colour;
    if (element.IsSummary()) {
        const auto& summary = static_cast<const QRESummary&>(element);
        return summary.Kind == QRSummaryKind::FreeSpace ? kFreeSpaceColour : kSmallItemsColour;
    }
    QXColor colour = element.Colour;
    if (element.IsFolder() && !element.IsRoot()) {
        const auto level = static_cast<std::size_t>(std::max<int>(element.Level, 0));
        // Drawing order is depth first: a folder on this level starts the count of the one below.
        FoldersSeen.resize(level + 2, 0);
        FoldersSeen[level + 1] = 0;
        const bool alternate = FoldersSeen[level]++ % 2 == 1;
        if (colour == FolderColour)
            colour = FolderShade(colour, element.Level - kFirstChildLevel, alternate);
    }
    return element.Hidden ? Greyer(colour) : colour;
}

QXColor GLRingColours::FolderShade(const QXColor& colour, int depth, bool alternate)
{
    const float lighter = std::min(kLightestShare, kLighterPerBand * static_cast<float>(std::max(depth, 0)));
    const QXColor shade = Mixed(colour, {1.0f, 1.0f, 1.0f}, lighter);
    return alternate ? Times(shade, kAlternateDarkness) : shade;
}

QXColor GLRingColours::Greyer(const QXColor& colour)
{
    const float grey = Luma(colour);
    return Times(Mixed(colour, {grey, grey, grey}, kGreyShare), kGreyDarkness);
}
