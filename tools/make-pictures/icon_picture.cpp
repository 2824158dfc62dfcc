#include "tools/make-pictures/icon_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kIconSize = 256;
constexpr double kCentre = kIconSize / 2.0;
const QColor kFolder(0, 204, 0);
const QColor kFile(204, 204, 0);
const QColor kEdge(20, 60, 20);

// One sector of a band: from `start` degrees clockwise from the top, `span` degrees wide.
QPainterPath Sector(double inner, double outer, double start, double span)
{
    QPainterPath path;
    const QRectF outerBox(kCentre - outer, kCentre - outer, 2 * outer, 2 * outer);
    const QRectF innerBox(kCentre - inner, kCentre - inner, 2 * inner, 2 * inner);
    // Qt counts angles anticlockwise from three o'clock.
    const double from = 90.0 - start;
    path.arcMoveTo(outerBox, from);
    path.arcTo(outerBox, from, -span);
    path.arcTo(innerBox, from - span, span);
    path.closeSubpath();
    return path;
}

void Fill(QPainter& painter, const QPainterPath& path, const QColor& colour)
{
    painter.setPen(QPen(kEdge, 3));
    painter.setBrush(colour);
    painter.drawPath(path);
}

} // namespace

QImage PaintIcon()
{
    QImage picture(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    Fill(painter, Sector(26, 58, 0, 360), kFolder);
    struct Child {
        double Span;
        bool Folder;
    };
    constexpr Child kChildren[] = {{110, true}, {40, false}, {70, true}, {25, false}, {55, true}, {60, false}};
    double start = 0.0;
    for (const Child& child : kChildren) {
        Fill(painter, Sector(58, 92, start, child.Span), child.Folder ? kFolder : kFile);
        start += child.Span;
    }
    // The first folder is open: its own children lie on the next band, inside its sector.
    Fill(painter, Sector(92, 124, 0, 45), kFile);
    Fill(painter, Sector(92, 124, 45, 65), kFolder);
    painter.end();
    return picture;
}
