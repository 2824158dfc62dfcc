#include "presentation/gl_ring_detail.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "presentation/gl_ring.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

namespace {

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

GLBandScale::GLBandScale(QOXRing& ring, const GLScreenBounds& bounds, int layer, float beyond)
    : Ring(&ring), Bounds(&bounds), Layer(layer), Beyond(beyond)
{
}

double GLBandScale::PixelsPerDegree(int level)
{
    const auto index = static_cast<std::size_t>(std::max(level, 0));
    if (index >= ByLevel.size())
        ByLevel.resize(index + 1, -1.0);
    if (ByLevel[index] < 0.0)
        ByLevel[index] = PixelsPerDegreeAt(RadiusOf(level));
    return ByLevel[index];
}

double GLBandScale::PixelsPerUnit(int level)
{
    constexpr double kDegreesPerRadian = 57.29577951308232;
    const double radius = RadiusOf(level);
    return radius > 0.0 ? PixelsPerDegree(level) * kDegreesPerRadian / radius : 0.0;
}

float GLBandScale::RadiusOf(int level) const
{
    return Ring->InnerRadius(level + Layer) + Beyond;
}

// The arc of a degree, from its chord, at sixteen places round the circle: the largest of them.
double GLBandScale::PixelsPerDegreeAt(float radius) const
{
    constexpr int kPlaces = 16;
    constexpr double kRadiansPerDegree = 0.017453292519943295;
    // Arc over chord for one degree: the half angle over its sine.
    const double arcPerChord = 0.5 * kRadiansPerDegree / std::sin(0.5 * kRadiansPerDegree);
    double largest = 0.0;
    for (int place = 0; place < kPlaces; ++place) {
        const float from = 360.0f * static_cast<float>(place) / kPlaces;
        const QXVector2 a = RingDirection(from);
        const QXVector2 b = RingDirection(from + 1.0f);
        const auto chord = Bounds->PixelDistance({a.X * radius, a.Y * radius}, {b.X * radius, b.Y * radius});
        if (!chord)
            return std::numeric_limits<double>::infinity();
        largest = std::max(largest, *chord * arcPerChord);
    }
    return largest;
}

std::optional<double> GLBandRun::NarrowWidth(const QRElement* element, double pixelsPerDegree)
{
    if (element->IsFolder() && static_cast<const QREFolder*>(element)->Expanded)
        return std::nullopt;
    return NarrowWidth(element->EndAngle - element->StartAngle, pixelsPerDegree);
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

void GLBandRun::AddSpan(const QRElement* last, int count, double degrees, double width, const QXColor& colour)
{
    OneColour = OneColour && colour == FirstColour;
    LastElement = last;
    Elements += count;
    Pixels += width;
    Degrees += degrees;
    AddTimes(WeightedColour, colour, degrees);
    AddTimes(ColourSum, colour, static_cast<double>(count));
}

void GLBandRun::Clear()
{
    *this = GLBandRun();
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
