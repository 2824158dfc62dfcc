// The ring's labels: printed one by one as designed, or, readable, only where they can be read,
// upright on both halves of the ring, every glyph of a font going out in one vertex array.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_ring_detail.h"
#include "presentation/gl_ring_geometry.h"
#include "resources/resource_font.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"

namespace {

constexpr float kLabelStart = 0.9f;
constexpr float kLabelSize = 0.08f;
constexpr float kShadowOffset = 0.1f;
constexpr float kGlyphHalfSize = GLFont::kGlyphHalfSize;
constexpr float kRadiansPerDegree = 0.017453292519943295f;
constexpr QXColor kLabelShadowColour{0.0f, 0.0f, 0.0f};
constexpr float kLeaderPixels = 1.5f;
constexpr float kLeaderGapPixels = 3.0f;
constexpr QXColor kLeaderColour{0.85f, 0.85f, 0.85f};
const std::string kShadowFont = "Default";
const std::string kLabelFont = "Default Add";

// The two fonts the labels are printed with, and their widest character.
struct LabelFonts {
    QRFont* Shadow = nullptr; // not owned
    QRFont* Label = nullptr;  // not owned
    float Widest = 0.0f;
};

LabelFonts FindLabelFonts()
{
    const GLFont* fonts = GL()->System2D->Fonts;
    LabelFonts found;
    if (fonts == nullptr)
        return found;
    found.Shadow = fonts->FindFont(kShadowFont);
    found.Label = fonts->FindFont(kLabelFont);
    for (const QRFont* font : {found.Shadow, found.Label}) {
        if (font == nullptr)
            continue;
        for (const auto width : font->CharWidths)
            found.Widest = std::max(found.Widest, std::fabs(static_cast<float>(width)));
    }
    return found;
}

// Label space (x outwards along the middle angle from the band's inner edge, y across it) in ring
// space.
class LabelPlace {
public:
    LabelPlace(const QRElement* element, float inner)
        : Inner(inner), Outwards(RingDirection(element->MidAngle())), Across(RingDirection(element->MidAngle() + 90.0f))
    {
    }
    // Whether the box [left, right] x [bottom, top] of label space can reach a pixel.
    bool MayShow(float left, float right, float bottom, float top, const GLScreenBounds& bounds) const
    {
        const QXVector2 corners[4] = {At(left, bottom), At(right, bottom), At(right, top), At(left, top)};
        return bounds.MayCoverPixel(corners, 4);
    }
    QXVector2 At(float along, float side) const
    {
        return {Outwards.X * (Inner + along) + Across.X * side, Outwards.Y * (Inner + along) + Across.Y * side};
    }
    // Label space as a text frame; turned half round, text in it reads the other way along the
    // same line.
    GLTextFrame Frame(bool turned) const
    {
        const float sign = turned ? -1.0f : 1.0f;
        return {At(0.0f, 0.0f), {sign * Outwards.X, sign * Outwards.Y}, {sign * Across.X, sign * Across.Y}};
    }

private:
    float Inner = 0.0f;
    QXVector2 Outwards;
    QXVector2 Across;
};

// Whether an element's two label prints can reach a pixel: first the box round both prints, then,
// for a label that might, the box round each glyph's two cells, placed as the font engine places
// them. Tiny labels whose box crosses a pixel centre mostly have no glyph on one.
bool LabelMayShow(const QRElement* element, float inner, const LabelFonts& fonts, const GLScreenBounds& bounds)
{
    const float scale = element->Scale;
    const float size = kLabelSize * scale;
    const float half = kGlyphHalfSize * size;
    const float bottom = -half;
    const float top = kShadowOffset * scale + half;
    const float shadowStart = kLabelStart - kShadowOffset * scale;
    const float length = static_cast<float>(element->Label.size()) * fonts.Widest * 0.5f * size;
    const LabelPlace place(element, inner);
    if (!place.MayShow(shadowStart - half, kLabelStart + length + half, bottom, top, bounds))
        return false;
    if (fonts.Shadow == nullptr || fonts.Label == nullptr)
        return true;
    float shadowPen = shadowStart;
    float labelPen = kLabelStart;
    for (const char c : Latin1Glyphs(element->Label)) {
        const auto code = static_cast<unsigned char>(c);
        const float shadowAdvance = static_cast<float>(fonts.Shadow->CharWidths[code]) * size * 0.5f / 2.0f;
        const float labelAdvance = static_cast<float>(fonts.Label->CharWidths[code]) * size * 0.5f / 2.0f;
        shadowPen += shadowAdvance;
        labelPen += labelAdvance;
        if (place.MayShow(std::min(shadowPen, labelPen) - half, std::max(shadowPen, labelPen) + half, bottom, top,
                          bounds))
            return true;
        shadowPen += shadowAdvance;
        labelPen += labelAdvance;
    }
    return false;
}

// The side of a glyph's quad in a label of that scale, in ring units.
float GlyphSide(float scale)
{
    return 2.0f * kGlyphHalfSize * kLabelSize * scale;
}

float GlyphSide(const QRElement* element)
{
    return GlyphSide(element->Scale);
}

// Whether the element's sector, at the radius where its label starts, is at least one glyph wide.
bool SectorHoldsAGlyph(const QRElement* element, float inner)
{
    const float glyph = GlyphSide(element);
    const float sector = (element->EndAngle - element->StartAngle) * kRadiansPerDegree;
    return (inner + kLabelStart) * sector >= glyph;
}

// Whether the label's glyphs are at least kReadableGlyphPixels high on screen.
bool GlyphsBigEnough(const QRElement* element, const LabelPlace& place, const GLScreenBounds& bounds)
{
    const float glyph = GlyphSide(element);
    const auto height = bounds.PixelDistance(place.At(kLabelStart, 0.0f), place.At(kLabelStart, glyph));
    return height && *height >= GLRing::kReadableGlyphPixels;
}

// Whether the label, printed outwards, would read from right to left on screen (it lies on the
// left half of the ring).
bool ReadsBackwards(const LabelPlace& place, const GLScreenBounds& bounds)
{
    const auto start = bounds.Project(place.At(kLabelStart, 0.0f));
    const auto further = bounds.Project(place.At(kLabelStart + 1.0f, 0.0f));
    return start && further && further->X < start->X;
}

// Whether the label and its shadow, printed either way, can reach a pixel.
bool ReadableMayShow(const QRElement* element, const LabelPlace& place, const LabelFonts& fonts,
                     const GLScreenBounds& bounds)
{
    const float size = kLabelSize * element->Scale;
    const float half = GLFont::kGlyphHalfSize * size;
    const float offset = kShadowOffset * element->Scale;
    const float length = static_cast<float>(element->Label.size()) * fonts.Widest * 0.5f * size;
    return place.MayShow(kLabelStart - offset - half, kLabelStart + offset + length + half, -offset - half,
                         offset + half, bounds);
}

} // namespace

void GLRing::DrawLabel(QOXRing* ring, const QRElement* element)
{
    const float middle = element->MidAngle();
    const QXVector2 direction = RingDirection(middle);
    const float inner = ring->InnerRadius(element->Level);
    const float scale = element->Scale;
    glPushMatrix();
    GL()->TranslateRotate({direction.X * inner, direction.Y * inner, 0.0f}, {0.0f, 0.0f, 90.0f - middle});
    GL_2DSystem* system = GL()->System2D;
    system->Print(kShadowFont, AlignLeft, kLabelStart - kShadowOffset * scale, kShadowOffset * scale,
                  kLabelShadowColour, 1.0f, kLabelSize * scale, element->Label);
    system->Print(kLabelFont, AlignLeft, kLabelStart, 0.0f, element->Tint, 1.0f, kLabelSize * scale, element->Label);
    glPopMatrix();
}

// An element without a sector has no label: it would lie on a neighbour's band.
void GLRing::DrawLabels(QOXRing* ring)
{
    if (Geometry == GLRingGeometry::Immediate) {
        auto draw = [&](QRElement* element) {
            if (QRLayout::HasSector(*element))
                DrawLabel(ring, element);
        };
        ForEachDrawnElement(ring->Root, draw);
        return;
    }
    if (QRLayout::SizeTrue()) {
        DrawPlacedLabels(ring);
        return;
    }
    if (Labels == GLRingLabels::Readable) {
        DrawReadableLabels(ring);
        return;
    }
    const GLScreenBounds bounds;
    const LabelFonts fonts = FindLabelFonts();
    auto draw = [&](QRElement* element) {
        if (QRLayout::HasSector(*element) && LabelMayShow(element, ring->InnerRadius(element->Level), fonts, bounds))
            DrawLabel(ring, element);
    };
    ForEachDrawnElement(ring->Root, draw);
}

void GLRing::DrawReadableLabels(QOXRing* ring)
{
    // A glyph this many times smaller than the band's largest scale allows is left out before it is
    // projected: the scale is measured round the circle, not at the label's own place.
    constexpr double kScaleMargin = 1.25;
    const GLScreenBounds bounds;
    GLBandScale scale(*ring, bounds, 0, kLabelStart);
    const LabelFonts fonts = FindLabelFonts();
    const auto add = [&](const QRElement* element, float inner, double pixelsPerUnit) {
        if (GlyphSide(element) * pixelsPerUnit * kScaleMargin < kReadableGlyphPixels || element->Label.empty() ||
            !SectorHoldsAGlyph(element, inner))
            return;
        const LabelPlace place(element, inner);
        if (!GlyphsBigEnough(element, place, bounds) || !ReadableMayShow(element, place, fonts, bounds))
            return;
        // On the left half the label is turned half round and ends where it would have started.
        const bool turned = ReadsBackwards(place, bounds);
        const GLTextFrame frame = place.Frame(turned);
        const int alignment = turned ? AlignRight : AlignLeft;
        const float start = turned ? -kLabelStart : kLabelStart;
        const float size = kLabelSize * element->Scale;
        const float offset = kShadowOffset * element->Scale;
        if (fonts.Shadow != nullptr)
            ShadowGlyphs.Add(fonts.Shadow, alignment, element->Label, size, 1.0f, kLabelShadowColour, start - offset,
                             offset, frame);
        if (fonts.Label != nullptr)
            LabelGlyphs.Add(fonts.Label, alignment, element->Label, size, 1.0f, element->Tint, start, 0.0f, frame);
    };
    auto element = [&](QRElement* shown) {
        add(shown, ring->InnerRadius(shown->Level), scale.PixelsPerUnit(shown->Level));
    };
    // A folder's files share one band: its radius and scale are asked once for all of them.
    auto files = [&](const QREFolder& folder) {
        const float inner = ring->InnerRadius(folder.Level + 1);
        const double pixelsPerUnit = scale.PixelsPerUnit(folder.Level + 1);
        if (GlyphSide(folder.LargestFileScale) * pixelsPerUnit * kScaleMargin < kReadableGlyphPixels)
            return; // not one of them could be read
        for (const QREFile* file : *folder.Files)
            if (file->Visible)
                add(file, inner, pixelsPerUnit);
    };
    ForEachDrawnFolder(ring->Root, element, files);
    if (fonts.Shadow != nullptr)
        ShadowGlyphs.Draw(fonts.Shadow);
    if (fonts.Label != nullptr)
        LabelGlyphs.Draw(fonts.Label);
}

const std::vector<GLPlacedLabel>& GLRing::PlacedLabels(QOXRing* ring)
{
    const LabelFonts fonts = FindLabelFonts();
    return LabelLayout.Arrange(*ring, [&fonts](const std::string& text) {
        float width = 0.0f;
        if (fonts.Label != nullptr)
            for (const char c : Latin1Glyphs(text))
                width += static_cast<float>(fonts.Label->CharWidths[static_cast<unsigned char>(c)]) * 0.5f;
        return width;
    });
}

void GLRing::DrawPlacedLabels(QOXRing* ring)
{
    const LabelFonts fonts = FindLabelFonts();
    for (const GLPlacedLabel& label : PlacedLabels(ring)) {
        const GLTextFrame frame = LabelPlace(label.Element, 0.0f).Frame(label.Turned);
        const int alignment = label.Turned ? AlignRight : AlignLeft;
        const float start = label.Turned ? -label.Start : label.Start;
        const float offset = kShadowOffset / kLabelSize * label.Size;
        if (fonts.Shadow != nullptr)
            ShadowGlyphs.Add(fonts.Shadow, alignment, label.Text, label.Size, 1.0f, kLabelShadowColour,
                             start - offset, offset, frame);
        if (fonts.Label != nullptr)
            LabelGlyphs.Add(fonts.Label, alignment, label.Text, label.Size, 1.0f, label.Element->Tint, start, 0.0f,
                            frame);
    }
    if (fonts.Shadow != nullptr)
        ShadowGlyphs.Draw(fonts.Shadow);
    if (fonts.Label != nullptr)
        LabelGlyphs.Draw(fonts.Label);
}

// A leader is a band a pixel and a half wide along the element's middle angle, from the edge of
// its band to just before its label.
std::vector<GLBand> GLRing::LeaderBands(QOXRing* ring)
{
    std::vector<GLBand> leaders;
    const GLScreenBounds bounds;
    const auto unit = bounds.PixelDistance({0.0f, 0.0f}, {1.0f, 0.0f});
    if (!unit || *unit <= 0.0)
        return leaders;
    const auto pixel = static_cast<float>(1.0 / *unit);
    for (const GLPlacedLabel& label : PlacedLabels(ring)) {
        if (label.LeaderFrom <= 0.0f)
            continue;
        const float degrees = kLeaderPixels * pixel / label.LeaderFrom / kRadiansPerDegree;
        leaders.push_back({label.Element->MidAngle() - degrees / 2.0f, degrees, 1, label.LeaderFrom,
                           label.Start - kLeaderGapPixels * pixel, kLeaderColour, 1.0f});
    }
    return leaders;
}
