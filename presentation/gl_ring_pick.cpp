#include "presentation/gl_ring_pick.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstddef>

#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

using Matrix4 = std::array<double, 16>; // column-major

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
// Float rounding of the drawn vertices stays far inside these margins; they only decide which
// elements are tested, never what a test answers.
constexpr double kAngleSlack = 1e-3;
constexpr double kRadiusSlack = 1e-4;
// A band's straight inner edges dip below its layer's inner radius by at most this factor on layers
// from 2 on, where no segment is wider than 15 degrees.
const double kChordFactor = std::cos(15.0 / kDegrees);

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a[static_cast<std::size_t>(k * 4 + row)] * b[static_cast<std::size_t>(column * 4 + k)];
            product[static_cast<std::size_t>(column * 4 + row)] = sum;
        }
    return product;
}

double Cross(const QXVector2& from, const QXVector2& to, double x, double y)
{
    return (static_cast<double>(to.X) - from.X) * (y - from.Y) - (static_cast<double>(to.Y) - from.Y) * (x - from.X);
}

// Whether the point lies in the convex quad (corners in order, either way round); a quad without
// area holds nothing.
bool QuadHolds(const std::array<QXVector2, 4>& quad, double x, double y)
{
    const double area = Cross(quad[0], quad[1], quad[2].X, quad[2].Y) + Cross(quad[0], quad[2], quad[3].X, quad[3].Y);
    if (area == 0.0)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const double side = Cross(quad[i], quad[(i + 1) % 4], x, y);
        if (area > 0.0 ? side < 0.0 : side > 0.0)
            return false;
    }
    return true;
}

} // namespace

GLRingPickQuery::GLRingPickQuery(QOXRing* ring, float x, float y) : Ring(ring)
{
    const QRIteration* minimize = ring->MinimizeAnimation;
    const bool shrunk = minimize->Running() && 1.0f - 2.0f * minimize->Value() <= 0.0f;
    if (!shrunk)
        FindPointInPlane(x, y);
}

// The pixel's centre, from window coordinates through the inverse of the plane's projective map:
// the ring space point whose image is that centre.
void GLRingPickQuery::FindPointInPlane(float x, float y)
{
    Matrix4 modelView{};
    Matrix4 projection{};
    std::array<int, 4> viewport{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return;
    const double windowX = std::floor(static_cast<double>(x)) + 0.5;
    const double windowY = viewport[3] - std::floor(static_cast<double>(y)) - 0.5;
    if (windowX < viewport[0] || windowX >= viewport[0] + viewport[2] || windowY < viewport[1] ||
        windowY >= viewport[1] + viewport[3])
        return;
    const double ndcX = 2.0 * (windowX - viewport[0]) / viewport[2] - 1.0;
    const double ndcY = 2.0 * (windowY - viewport[1]) / viewport[3] - 1.0;
    const Matrix4 m = Multiply(projection, modelView);
    // clip = m (X, Y, 0, 1); ndc = clip / w: two equations in X and Y.
    const double a = m[0] - ndcX * m[3];
    const double b = m[4] - ndcX * m[7];
    const double c = m[1] - ndcY * m[3];
    const double d = m[5] - ndcY * m[7];
    const double e = ndcX * m[15] - m[12];
    const double f = ndcY * m[15] - m[13];
    const double determinant = a * d - b * c;
    if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-300)
        return;
    X = (e * d - b * f) / determinant;
    Y = (a * f - e * c) / determinant;
    const double w = m[3] * X + m[7] * Y + m[15];
    const double depth = (m[2] * X + m[6] * Y + m[14]) / w;
    // Behind the eye, or clipped away by the near or far plane: nothing is drawn there.
    if (!(w > 0.0) || depth < -1.0 || depth > 1.0)
        return;
    InPlane = true;
    Radius = std::hypot(X, Y);
    Angle = std::atan2(X, -Y) * kDegrees;
    if (Angle < 0.0)
        Angle += 360.0;
}

QRElement* GLRingPickQuery::Find()
{
    if (!InPlane || Ring->Root == nullptr)
        return nullptr;
    return Search(Ring->Root);
}

// Drawing order is the element, then its children's subtrees; so the one on top is found in the
// children's subtrees, the last first, before the element itself.
QRElement* GLRingPickQuery::Search(QRElement* element)
{
    if (!element->Visible || !QRLayout::HasSector(*element) || !SectorHolds(element))
        return nullptr;
    if (element->IsFolder()) {
        const auto* folder = static_cast<const QREFolder*>(element);
        if (folder->Expanded && Radius >= Ring->InnerRadius(element->Level + 1) * kChordFactor - kRadiusSlack) {
            // The sectors beside the children are drawn after them.
            for (QRElement* beside : QRLayout::BesideOf(*folder))
                if (beside != nullptr)
                    if (QRElement* found = Search(beside))
                        return found;
            if (QRElement* found = SearchChildren(folder))
                return found;
        }
    }
    return BandHolds(element) ? element : nullptr;
}

// The children with sectors tile the folder's sector in list order, so the first that can reach
// the point's angle is found by bisection; children without a sector (invisible ones, and entries
// not laid out yet, whose angles are none) are stepped over. The few from there on that reach the
// angle are searched last first.
QRElement* GLRingPickQuery::SearchChildren(const QREFolder* folder)
{
    const int folders = folder->Folders->Count();
    const int count = folders + folder->Files->Count();
    const auto at = [&](int i) -> QRElement* {
        return i < folders ? static_cast<QRElement*>(folder->Folders->Get(i))
                           : static_cast<QRElement*>(folder->Files->Get(i - folders));
    };
    const auto placed = [&](int i) { return at(i)->Visible && QRLayout::HasSector(*at(i)); };
    const double low = Angle - kAngleSlack;
    int first = 0;
    int last = count;
    while (first < last) {
        const int middle = first + (last - first) / 2;
        int next = middle;
        while (next < last && !placed(next))
            ++next;
        if (next == last)
            last = middle;
        else if (at(next)->EndAngle >= low)
            last = next;
        else
            first = next + 1;
    }
    int end = first;
    while (end < count && (!placed(end) || at(end)->StartAngle <= Angle + kAngleSlack))
        ++end;
    for (int i = end - 1; i >= first; --i)
        if (QRElement* found = Search(at(i)))
            return found;
    return nullptr;
}

// Sectors lie within one turn from the top, so the point's angle is also tried a turn on, where a
// sector that ends at 360 degrees meets an angle just past 0.
bool GLRingPickQuery::SectorHolds(const QRElement* element) const
{
    for (const double angle : {Angle, Angle + 360.0, Angle - 360.0})
        if (angle >= element->StartAngle - kAngleSlack && angle <= element->EndAngle + kAngleSlack)
            return true;
    return false;
}

bool GLRingPickQuery::BandHolds(const QRElement* element) const
{
    const GLBand band = GLRing::BandOf(Ring, element);
    const double halfStep = static_cast<double>(band.Sector) / band.Segments / 2.0;
    const double nearest = halfStep < 90.0 ? band.Inner * std::cos(halfStep / kDegrees) : 0.0;
    if (Radius > band.Outer + kRadiusSlack * (1.0 + band.Outer) || Radius < nearest - kRadiusSlack * (1.0 + band.Outer))
        return false;
    // The band's corners exactly as the drawing makes them.
    bool holds = false;
    QXVector2 inner{};
    QXVector2 outer{};
    ForEachBandEdge(band.Start, band.Sector, band.Segments, [&](int i, QXVector2 direction) {
        const QXVector2 nextInner{direction.X * band.Inner, direction.Y * band.Inner};
        const QXVector2 nextOuter{direction.X * band.Outer, direction.Y * band.Outer};
        if (i > 0 && !holds)
            holds = QuadHolds({inner, outer, nextOuter, nextInner}, X, Y);
        inner = nextInner;
        outer = nextOuter;
    });
    return holds;
}
