#include "tools/make-pictures/band_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

double SmoothStep(double from, double to, double x)
{
    const double f = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return f * f * (3 - 2 * f);
}

// A repeatable value in [-1, 1] for a whole number, so every run paints the same picture.
double Hash(std::uint32_t n)
{
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27d4eb2du;
    n ^= n >> 15;
    return static_cast<double>(n % 20001u) / 10000.0 - 1.0;
}

// Fine concentric grain: a faint brightness change from one texel row to the next, the same all
// along the sector, like a turned metal disc.
double Grain(int row)
{
    return 0.012 * (Hash(row) * 0.6 + Hash(row / 3 + 1000) * 0.4);
}

// Across the band: a dark line at the inner edge marks where a layer begins, the band rises to
// its brightest a third of the way out and falls gently towards the outer edge.
double AcrossBand(double t)
{
    if (t < 0.012)
        return 0.62;
    const double rise = 0.84 + 0.14 * SmoothStep(0.012, 0.32, t);
    return rise - 0.07 * SmoothStep(0.55, 1.0, t);
}

// Along the angle: a thin line and a short shaded slope at both ends divide neighbouring sectors.
double AlongSector(double s)
{
    const double edge = std::min(s, 1.0 - s);
    if (edge < 1.0 / kBandSize)
        return 0.66;
    return 0.88 + 0.12 * SmoothStep(0.0, 0.035, edge);
}

// t of a texel row: the first row is the outer edge.
double RowT(int y)
{
    return 1.0 - (y + 0.5) / kBandSize;
}

double ColumnS(int x)
{
    return (x + 0.5) / kBandSize;
}

QImage PaintGrey(const std::function<double(int x, int y)>& brightness)
{
    QImage band(kBandSize, kBandSize, QImage::Format_RGB888);
    for (int y = 0; y < kBandSize; ++y) {
        for (int x = 0; x < kBandSize; ++x) {
            const int v = std::clamp(static_cast<int>(std::lround(brightness(x, y) * 255)), 0, 255);
            band.setPixel(x, y, qRgb(v, v, v));
        }
    }
    return band;
}

QImage PaintOverlay(QRgb colour, const std::function<double(double s, double t)>& opacity)
{
    QImage band(kBandSize, kBandSize, QImage::Format_ARGB32);
    for (int y = 0; y < kBandSize; ++y) {
        for (int x = 0; x < kBandSize; ++x) {
            const double a = std::clamp(opacity(ColumnS(x), RowT(y)), 0.0, 1.0);
            band.setPixel(x, y, qRgba(qRed(colour), qGreen(colour), qBlue(colour),
                                      static_cast<int>(std::lround(a * 255))));
        }
    }
    return band;
}

// 1 inside, falling to 0 over `soft` at both ends of [0, 1].
double Inside(double u, double soft)
{
    return SmoothStep(0.0, soft, std::min(u, 1.0 - u));
}

} // namespace

QImage PaintElementBand()
{
    return PaintGrey([](int x, int y) {
        return AcrossBand(RowT(y)) * AlongSector(ColumnS(x)) + Grain(y);
    });
}

QImage PaintRootBand()
{
    return PaintGrey([](int, int y) { return AcrossBand(RowT(y)) + Grain(y); });
}

QImage PaintPickedBand()
{
    return PaintOverlay(qRgb(255, 255, 255), [](double s, double t) {
        return 0.5 * Inside(s, 0.15) * Inside(t, 0.3);
    });
}

QImage PaintSelectedBand()
{
    return PaintOverlay(qRgb(255, 244, 214), [](double s, double t) {
        const double rim = 1.0 - std::min(Inside(s, 0.04), Inside(t, 0.06));
        return 0.2 + 0.7 * rim;
    });
}
