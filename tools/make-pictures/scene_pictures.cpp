#include "tools/make-pictures/scene_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kBackgroundSize = 512;
constexpr int kBananaSize = 256;
constexpr int kArrowSize = 64;

struct Colour {
    double R, G, B;
};

Colour Mix(const Colour& a, const Colour& b, double f)
{
    return {a.R + (b.R - a.R) * f, a.G + (b.G - a.G) * f, a.B + (b.B - a.B) * f};
}

// A 4 x 4 ordered dither in [-0.5, 0.5) of one step, so the gentle gradient shows no bands.
double Dither(int x, int y)
{
    static constexpr std::array<int, 16> bayer{0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    return (bayer[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5;
}

int Quantise(double value, double dither)
{
    return std::clamp(static_cast<int>(std::floor(value * 255 + 0.5 + dither)), 0, 255);
}

Colour BackgroundAt(double u, double v)
{
    const Colour top{0.43, 0.49, 0.57};
    const Colour bottom{0.20, 0.23, 0.29};
    Colour c = Mix(top, bottom, v);
    const double du = u - 0.5;
    const double dv = v - 0.46;
    const double glow = 0.09 * std::exp(-(du * du + dv * dv) / 0.08);
    const double vignette = 1.0 - 0.35 * std::pow(std::min(1.0, 2 * (du * du + dv * dv)), 1.5);
    return {(c.R + glow) * vignette, (c.G + glow) * vignette, (c.B + glow * 1.1) * vignette};
}

QPainterPath BananaOutline()
{
    QPainterPath path;
    path.moveTo(203, 58);
    path.cubicTo(222, 128, 168, 212, 66, 196);
    path.cubicTo(44, 192, 30, 178, 30, 168);
    path.cubicTo(48, 174, 64, 176, 84, 172);
    path.cubicTo(156, 160, 186, 112, 184, 62);
    path.closeSubpath();
    return path;
}

QPainterPath BananaStem()
{
    QPainterPath path;
    path.moveTo(182, 66);
    path.lineTo(180, 34);
    path.cubicTo(184, 28, 194, 28, 198, 32);
    path.lineTo(205, 62);
    path.closeSubpath();
    return path;
}

void PaintBananaBody(QPainter& painter)
{
    const QColor outline(86, 56, 18);
    QLinearGradient skin(QPointF(150, 90), QPointF(120, 200));
    skin.setColorAt(0.0, QColor(255, 236, 110));
    skin.setColorAt(0.55, QColor(246, 206, 52));
    skin.setColorAt(1.0, QColor(214, 160, 30));
    painter.setPen(QPen(outline, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(skin);
    painter.drawPath(BananaOutline());

    QPainterPath ridge;
    ridge.moveTo(196, 70);
    ridge.cubicTo(206, 132, 160, 186, 74, 186);
    painter.setPen(QPen(QColor(255, 248, 190, 170), 5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ridge);

    painter.setPen(QPen(outline, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(120, 92, 40));
    painter.drawPath(BananaStem());
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawEllipse(QPointF(33, 171), 6, 5);
}

// Clear texels take the outline's colour, so that filtering at the cut edge blends towards the
// outline instead of towards black.
QImage WithOutlineColourUnderClear(const QImage& picture, QRgb outline)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (qAlpha(p) < 128)
                out.setPixel(x, y, qRgba(qRed(outline), qGreen(outline), qBlue(outline), qAlpha(p)));
        }
    }
    return out;
}

QPainterPath ArrowHead()
{
    QPainterPath path;
    path.moveTo(24, 14);
    path.lineTo(48, 32);
    path.lineTo(24, 50);
    path.closeSubpath();
    return path;
}

} // namespace

QImage PaintBackground()
{
    QImage picture(kBackgroundSize, kBackgroundSize, QImage::Format_RGB888);
    for (int y = 0; y < kBackgroundSize; ++y) {
        for (int x = 0; x < kBackgroundSize; ++x) {
            const Colour c = BackgroundAt((x + 0.5) / kBackgroundSize, (y + 0.5) / kBackgroundSize);
            const double d = Dither(x, y);
            picture.setPixel(x, y, qRgb(Quantise(c.R, d), Quantise(c.G, d), Quantise(c.B, d)));
        }
    }
    return picture;
}

QImage PaintBanana()
{
    QImage picture(kBananaSize, kBananaSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outlines are drawn round (124, 114); centred and enlarged they fill the picture.
    painter.translate(128, 128);
    painter.scale(1.12, 1.12);
    painter.translate(-124, -114);
    PaintBananaBody(painter);
    painter.end();
    return WithOutlineColourUnderClear(picture, qRgb(86, 56, 18));
}

QImage PaintArrow()
{
    QImage picture(kArrowSize, kArrowSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int width = 9; width >= 3; width -= 2) {
        painter.setPen(QPen(QColor(0, 0, 0, 40), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(ArrowHead());
    }
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(ArrowHead());
    painter.end();
    return picture;
}
