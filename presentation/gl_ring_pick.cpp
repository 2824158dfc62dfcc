#include "presentation/gl_ring_pick.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"

namespace {

using Matrix4 = std::array<double, 16>; // column-major
using Clip = std::array<double, 4>;     // x, y, z, w

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;
// The selection pass's projection: a fixed 45 degree field of view.
constexpr double kPickFieldOfView = 45.0;
// Float rounding of the drawn vertices stays far inside these margins.
constexpr double kAngleSlack = 1e-3;
constexpr double kRadiusSlack = 1e-4;
// A band's straight inner edges dip below its inner radius by at most this factor on layers from 2
// on, where no segment is wider than 15 degrees.
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

Matrix4 Perspective(double fieldOfView, double aspect, double nearDistance, double farDistance)
{
    const double half = fieldOfView / 2.0 / kDegrees;
    const double depth = farDistance - nearDistance;
    const double cotangent = std::cos(half) / std::sin(half);
    Matrix4 m{};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(farDistance + nearDistance) / depth;
    m[11] = -1.0;
    m[14] = -2.0 * nearDistance * farDistance / depth;
    return m;
}

double Cross(double ax, double ay, double bx, double by)
{
    return ax * by - ay * bx;
}

double DistanceToSegment(const QXVector2& a, const QXVector2& b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length = dx * dx + dy * dy;
    double t = length > 0.0 ? -(a.X * dx + a.Y * dy) / length : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.X + t * dx, a.Y + t * dy);
}

double PlaneDistance(const Clip& v, int plane)
{
    const double sign = (plane & 1) != 0 ? -1.0 : 1.0;
    return v[3] + sign * v[static_cast<std::size_t>(plane / 2)];
}

} // namespace

GLRingPickQuery::GLRingPickQuery(QOXRing* ring, float x, float y, float nearDistance, float farDistance) : Ring(ring)
{
    const QRIteration* minimize = ring->MinimizeAnimation;
    Shrunk = minimize->Running() && 1.0f - 2.0f * minimize->Value() <= 0.0f;
    BuildMatrix(x, y, nearDistance, farDistance);
    FindRegionInPlane();
}

void GLRingPickQuery::BuildMatrix(float x, float y, float nearDistance, float farDistance)
{
    Matrix4 modelView{};
    std::array<int, 4> viewport{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    // The 1 x 1 region the selection pass asks for, at the pointer's whole pixel.
    const double centreX = static_cast<int>(x);
    const double centreY = viewport[3] - static_cast<int>(y);
    Matrix4 region{};
    region[0] = viewport[2];
    region[5] = viewport[3];
    region[10] = 1.0;
    region[12] = viewport[2] - 2.0 * (centreX - viewport[0]);
    region[13] = viewport[3] - 2.0 * (centreY - viewport[1]);
    region[15] = 1.0;
    const double heightSpan = viewport[3] - viewport[1];
    if (heightSpan > 0.0)
        region = Multiply(region, Perspective(kPickFieldOfView, (viewport[2] - viewport[0]) / heightSpan, nearDistance,
                                              farDistance));
    Matrix = Multiply(region, modelView);
}

// The region's corners in the ring plane z = 0, through the inverse of the plane's projective map.
void GLRingPickQuery::FindRegionInPlane()
{
    const auto& m = Matrix;
    const double h[3][3] = {{m[0], m[4], m[12]}, {m[1], m[5], m[13]}, {m[3], m[7], m[15]}};
    const double inverse[3][3] = {
        {h[1][1] * h[2][2] - h[1][2] * h[2][1], h[0][2] * h[2][1] - h[0][1] * h[2][2], h[0][1] * h[1][2] - h[0][2] * h[1][1]},
        {h[1][2] * h[2][0] - h[1][0] * h[2][2], h[0][0] * h[2][2] - h[0][2] * h[2][0], h[0][2] * h[1][0] - h[0][0] * h[1][2]},
        {h[1][0] * h[2][1] - h[1][1] * h[2][0], h[0][1] * h[2][0] - h[0][0] * h[2][1], h[0][0] * h[1][1] - h[0][1] * h[1][0]}};
    const double determinant = h[0][0] * inverse[0][0] + h[0][1] * inverse[1][0] + h[0][2] * inverse[2][0];
    if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-300)
        return;
    const double signs[4][2] = {{-1.0, -1.0}, {1.0, -1.0}, {1.0, 1.0}, {-1.0, 1.0}};
    std::array<QXVector2, 4> corners{};
    for (int i = 0; i < 4; ++i) {
        double p[3];
        for (int r = 0; r < 3; ++r)
            p[r] = (inverse[r][0] * signs[i][0] + inverse[r][1] * signs[i][1] + inverse[r][2]) / determinant;
        // The corner's ray must meet the plane in front of the eye.
        if (!(p[2] > 0.0))
            return;
        corners[static_cast<std::size_t>(i)] = {static_cast<float>(p[0] / p[2]), static_cast<float>(p[1] / p[2])};
    }
    Bounded = true;
    int positive = 0;
    int negative = 0;
    NearestRadius = 1e300;
    for (std::size_t i = 0; i < 4; ++i) {
        const QXVector2& a = corners[i];
        const QXVector2& b = corners[(i + 1) % 4];
        const double side = Cross(b.X - a.X, b.Y - a.Y, -a.X, -a.Y);
        positive += side >= 0.0 ? 1 : 0;
        negative += side <= 0.0 ? 1 : 0;
        NearestRadius = std::min(NearestRadius, DistanceToSegment(a, b));
        FarthestRadius = std::max(FarthestRadius, std::hypot(static_cast<double>(a.X), static_cast<double>(a.Y)));
    }
    FullCircle = positive == 4 || negative == 4 || NearestRadius < 1e-9;
    if (FullCircle) {
        NearestRadius = 0.0;
        return;
    }
    // The region does not hold the centre, so its corners span less than half a turn.
    const double base = std::atan2(corners[0].X, -corners[0].Y) * kDegrees;
    double low = 0.0;
    double high = 0.0;
    for (const QXVector2& corner : corners) {
        double delta = std::atan2(corner.X, -corner.Y) * kDegrees - base;
        delta -= 360.0 * std::round(delta / 360.0);
        low = std::min(low, delta);
        high = std::max(high, delta);
    }
    low += base;
    high += base;
    const double turns = std::floor(low / 360.0) * 360.0;
    Ranges[0] = {low - turns - 360.0, high - turns - 360.0};
    Ranges[1] = {low - turns, high - turns};
}

QRElement* GLRingPickQuery::Find()
{
    if (Shrunk || Ring->Root == nullptr || !Ring->Root->Visible)
        return nullptr;
    return Search(Ring->Root);
}

QRElement* GLRingPickQuery::Search(QRElement* element)
{
    if (!SectorMayReach(element->StartAngle, element->EndAngle))
        return nullptr;
    if (BandMayReach(element) && BandHits(element))
        return element;
    if (!element->IsFolder())
        return nullptr;
    const auto* folder = static_cast<const QREFolder*>(element);
    if (!folder->Expanded)
        return nullptr;
    if (Bounded && FarthestRadius < Ring->InnerRadius(element->Level + 1) * kChordFactor - kRadiusSlack)
        return nullptr;
    return SearchChildren(folder);
}

QRElement* GLRingPickQuery::SearchChildren(const QREFolder* folder)
{
    if (!Bounded || FullCircle) {
        QRElement* found = nullptr;
        folder->ForEachChild([&](QRElement* child) {
            if (found == nullptr && child->Visible)
                found = Search(child);
        });
        return found;
    }
    int next = 0;
    for (const AngleRange& range : Ranges)
        if (QRElement* found = SearchRun(folder, range, next))
            return found;
    return nullptr;
}

// The children whose sectors meet one angle range, in list order, from index `next` on; `next`
// moves past them.
QRElement* GLRingPickQuery::SearchRun(const QREFolder* folder, const AngleRange& range, int& next)
{
    const int folders = folder->Folders->Count();
    const int count = folders + folder->Files->Count();
    const auto at = [&](int i) -> QRElement* {
        return i < folders ? static_cast<QRElement*>(folder->Folders->Get(i))
                           : static_cast<QRElement*>(folder->Files->Get(i - folders));
    };
    const double low = range.Low - kAngleSlack;
    const double high = range.High + kAngleSlack;
    int first = next;
    int last = count;
    while (first < last) {
        const int middle = first + (last - first) / 2;
        int visible = middle;
        while (visible < last && !at(visible)->Visible)
            ++visible;
        if (visible == last)
            last = middle;
        else if (at(visible)->EndAngle >= low)
            last = visible;
        else
            first = visible + 1;
    }
    int i = first;
    for (; i < count; ++i) {
        QRElement* child = at(i);
        if (!child->Visible)
            continue;
        if (child->StartAngle > high)
            break;
        if (QRElement* found = Search(child))
            return found;
    }
    next = i;
    return nullptr;
}

bool GLRingPickQuery::SectorMayReach(double start, double end) const
{
    if (!Bounded || FullCircle)
        return true;
    const double low = std::min(start, end) - kAngleSlack;
    const double high = std::max(start, end) + kAngleSlack;
    return std::any_of(Ranges.begin(), Ranges.end(),
                       [&](const AngleRange& range) { return low <= range.High && high >= range.Low; });
}

bool GLRingPickQuery::BandMayReach(const QRElement* element) const
{
    if (!Bounded)
        return true;
    const float sector = element->EndAngle - element->StartAngle;
    const int segments = GLRing::SegmentCount(element->Level, sector);
    const double halfStep = std::fabs(static_cast<double>(sector)) / segments / 2.0;
    const double inner = Ring->InnerRadius(element->Level);
    const double nearest = halfStep < 90.0 ? inner * std::cos(halfStep / kDegrees) : 0.0;
    const double outer = Ring->InnerRadius(element->Level + 1) + GLRing::kPickOverlap;
    const double slack = kRadiusSlack * (1.0 + outer);
    return FarthestRadius >= nearest - slack && NearestRadius <= outer + slack;
}

bool GLRingPickQuery::BandHits(const QRElement* element) const
{
    const float sector = element->EndAngle - element->StartAngle;
    const int segments = GLRing::SegmentCount(element->Level, sector);
    const float inner = Ring->InnerRadius(element->Level);
    const float outer = Ring->InnerRadius(element->Level + 1) + GLRing::kPickOverlap;
    const auto& m = Matrix;
    const auto project = [&m](float x, float y) {
        return Clip{m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13], m[2] * x + m[6] * y + m[14],
                    m[3] * x + m[7] * y + m[15]};
    };
    static thread_local std::vector<Clip> edges;
    edges.clear();
    ForEachBandEdge(element->StartAngle, sector, segments, [&](int, QXVector2 direction) {
        edges.push_back(project(direction.X * inner, direction.Y * inner));
        edges.push_back(project(direction.X * outer, direction.Y * outer));
    });
    for (std::size_t i = 0; i + 3 < edges.size(); i += 2) {
        const std::array<Clip, 4> quad = {edges[i], edges[i + 1], edges[i + 3], edges[i + 2]};
        if (QuadHits(quad.data()))
            return true;
    }
    return false;
}

// Whether any part of the quad survives clipping against the six planes of the region's volume.
bool GLRingPickQuery::QuadHits(const std::array<double, 4>* corners) const
{
    std::array<Clip, 16> polygon{};
    std::array<Clip, 16> clipped{};
    std::copy(corners, corners + 4, polygon.begin());
    int count = 4;
    for (int plane = 0; plane < 6; ++plane) {
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            const Clip& current = polygon[static_cast<std::size_t>(i)];
            const Clip& previous = polygon[static_cast<std::size_t>((i + count - 1) % count)];
            const double now = PlaneDistance(current, plane);
            const double before = PlaneDistance(previous, plane);
            if ((now >= 0.0) != (before >= 0.0)) {
                const double t = before / (before - now);
                Clip crossing{};
                for (std::size_t k = 0; k < 4; ++k)
                    crossing[k] = previous[k] + t * (current[k] - previous[k]);
                clipped[static_cast<std::size_t>(kept++)] = crossing;
            }
            if (now >= 0.0)
                clipped[static_cast<std::size_t>(kept++)] = current;
        }
        if (kept == 0)
            return false;
        polygon = clipped;
        count = kept;
    }
    return true;
}
