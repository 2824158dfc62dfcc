#include "tools/make-pictures/icon_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kIconUnits = 256.0;
constexpr double kCentre = kIconUnits / 2.0;
constexpr double kEdgeWidth = 3.0;
const QColor kFolder(0, 204, 0);
const QColor kFile(204, 204, 0);
const QColor kEdge(20, 60, 20);

// One sector of a band: from `Start` degrees clockwise from the top, `Span` degrees wide.
struct Sector {
    double Inner;
    double Outer;
    double Start;
    double Span;
    bool Folder;
};

std::vector<Sector> IconSectors()
{
    std::vector<Sector> sectors{{26, 58, 0, 360, true}};
    struct Child {
        double Span;
        bool Folder;
    };
    constexpr Child kChildren[] = {{110, true}, {40, false}, {70, true}, {25, false}, {55, true}, {60, false}};
    double start = 0.0;
    for (const Child& child : kChildren) {
        sectors.push_back({58, 92, start, child.Span, child.Folder});
        start += child.Span;
    }
    // The first folder is open: its own children lie on the next band, inside its sector.
    sectors.push_back({92, 124, 0, 45, false});
    sectors.push_back({92, 124, 45, 65, true});
    return sectors;
}

QPainterPath SectorPath(const Sector& sector)
{
    QPainterPath path;
    const QRectF outerBox(kCentre - sector.Outer, kCentre - sector.Outer, 2 * sector.Outer, 2 * sector.Outer);
    const QRectF innerBox(kCentre - sector.Inner, kCentre - sector.Inner, 2 * sector.Inner, 2 * sector.Inner);
    // Qt counts angles anticlockwise from three o'clock.
    const double from = 90.0 - sector.Start;
    path.arcMoveTo(outerBox, from);
    path.arcTo(outerBox, from, -sector.Span);
    path.arcTo(innerBox, from - sector.Span, sector.Span);
    path.closeSubpath();
    return path;
}

QString Number(double value)
{
    return QString::number(std::round(value * 1000.0) / 1000.0, 'f', 3).remove(QRegularExpression("\\.?0+$"));
}

QString Point(double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return Number(kCentre + radius * std::sin(radians)) + "," + Number(kCentre - radius * std::cos(radians));
}

// A sector as SVG path data; a full band is two circles filled even-odd.
QString SvgPath(const Sector& sector)
{
    if (sector.Span >= 360.0) {
        QString data;
        for (double radius : {sector.Outer, sector.Inner})
            data += "M" + Point(radius, 0) + "A" + Number(radius) + "," + Number(radius) + " 0 1 1 " + Point(radius, 180) +
                    "A" + Number(radius) + "," + Number(radius) + " 0 1 1 " + Point(radius, 0) + "Z";
        return data;
    }
    const QString large = sector.Span > 180.0 ? "1" : "0";
    const double end = sector.Start + sector.Span;
    return "M" + Point(sector.Outer, sector.Start) + "A" + Number(sector.Outer) + "," + Number(sector.Outer) + " 0 " +
           large + " 1 " + Point(sector.Outer, end) + "L" + Point(sector.Inner, end) + "A" + Number(sector.Inner) + "," +
           Number(sector.Inner) + " 0 " + large + " 0 " + Point(sector.Inner, sector.Start) + "Z";
}

} // namespace

QImage PaintIcon(int size)
{
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kIconUnits, size / kIconUnits);
    painter.setPen(QPen(kEdge, kEdgeWidth));
    for (const Sector& sector : IconSectors()) {
        painter.setBrush(sector.Folder ? kFolder : kFile);
        painter.drawPath(SectorPath(sector));
    }
    painter.end();
    return picture;
}

QString IconSvg()
{
    QString svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const Sector& sector : IconSectors())
        svg += "  <path fill=\"" + (sector.Folder ? kFolder : kFile).name() + "\" fill-rule=\"evenodd\" stroke=\"" +
               kEdge.name() + "\" stroke-width=\"" + Number(kEdgeWidth) + "\" d=\"" + SvgPath(sector) + "\"/>\n";
    return svg + "</svg>\n";
}
