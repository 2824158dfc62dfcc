#include "presentation/gl_ring_detail.h"

#include <algorithm>
#include <cmath>

#include "presentation/gl_ring.h"
#include "ring/element_folder.h"

namespace {

// A sector this wide is never thin: its chord no longer tells its arc.
constexpr float kWidestThinSector = 90.0f;

void AddTimes(std::array<double, 3>& sum, const QXColor& colour, double factor)
{
    sum[0] += colour.X * factor;
    sum[1] += colour.Y * factor;
    sum[2] += colour.Z * factor;
}

QXColor Divided(const std::array<double, 3>& sum, double divisor)
{
    return {static_cast<float>(sum[0] / divisor), static_cast<float>(sum[1] / divisor),
            static_cast<float>(sum[2] / divisor)};
}

} // namespace

std::optional<double> GLBandRun::NarrowWidth(const QRElement* element, float outer) const
{
    if (element->IsFolder() && static_cast<const QREFolder*>(element)->Expanded)
        return std::nullopt;
    const float sector = element->EndAngle - element->StartAngle;
    if (!(sector >= 0.0f && sector < kWidestThinSector))
        return std::nullopt;
    const QXVector2 from = RingDirection(element->StartAngle);
    const QXVector2 to = RingDirection(element->EndAngle);
    const auto chord = Bounds->PixelDistance({from.X * outer, from.Y * outer}, {to.X * outer, to.Y * outer});
    if (!chord)
        return std::nullopt;
    const double half = static_cast<double>(sector) * 0.008726646259971648; // half the sector in radians
    const double arc = half > 1e-6 ? *chord * half / std::sin(half) : *chord;
    return arc < 1.0 ? std::optional<double>(arc) : std::nullopt;
}

bool GLBandRun::Continues(const QRElement* element, const QRTexture* picture, double width,
                          const QXColor& colour) const
{
    if (Elements == 0 || element->Parent != FirstElement->Parent || picture != RunPicture)
        return false;
    return (OneColour && colour == FirstColour) || Pixels + width <= kMixedRunPixels;
}

void GLBandRun::Add(const QRElement* element, QRTexture* picture, double width, const QXColor& colour)
{
    if (Elements == 0) {
        FirstElement = element;
        RunPicture = picture;
        FirstColour = colour;
    }
    OneColour = OneColour && colour == FirstColour;
    LastElement = element;
    ++Elements;
    Pixels += width;
    const float sector = element->EndAngle - element->StartAngle;
    Degrees += sector;
    AddTimes(WeightedColour, colour, sector);
    AddTimes(ColourSum, colour, 1.0);
}

void GLBandRun::Clear()
{
    *this = GLBandRun(*Bounds);
}

GLBand GLBandRun::Band(float inner, float outer) const
{
    GLBand band;
    band.Start = FirstElement->StartAngle;
    band.Sector = LastElement->EndAngle - FirstElement->StartAngle;
    const int alongEdge = static_cast<int>(std::ceil(Pixels / kSegmentPixels));
    band.Segments = std::max(GLRing::SegmentCount(FirstElement->Level, band.Sector), alongEdge);
    band.Inner = inner;
    band.Outer = outer;
    band.Colour = Degrees > 0.0 ? Divided(WeightedColour, Degrees) : Divided(ColourSum, Elements);
    band.TextureSpan = kTextureSpanPerElement * static_cast<float>(Elements);
    return band;
}
