#include "presentation/gl_ring_geometry.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"

namespace {

// Rasterisation snaps vertices to a sub-pixel grid: a shape is left out only when it misses every
// pixel centre by more than this.
constexpr double kPixelSlack = 1.0 / 64.0;
// Up to this many pixel centres in a shape's box are each tested against the shape.
constexpr double kCentresToTest = 256.0;
// A strip's quad between edges i and i + 1, as triangles of its inner (0, 2) and outer (1, 3)
// corners.
constexpr std::size_t kStripTriangles[6] = {0, 1, 3, 2, 0, 3};

// The pixels k (0 <= k < size) whose centres k + 0.5 lie within [low, high].
struct PixelSpan {
    double First = 0.0;
    double Last = -1.0;
};

PixelSpan CentresWithin(double low, double high, int size)
{
    return {std::max(std::ceil(low - kPixelSlack - 0.5), 0.0),
            std::min(std::floor(high + kPixelSlack - 0.5), static_cast<double>(size - 1))};
}

// Whether the convex polygon (corners in order, either way round) holds the point.
bool ConvexHolds(const std::array<double, 2>* corners, int count, double x, double y)
{
    double area = 0.0;
    for (int i = 0; i < count; ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % count];
        area += a[0] * b[1] - b[0] * a[1];
    }
    const double turn = area >= 0.0 ? 1.0 : -1.0;
    for (int i = 0; i < count; ++i) {
        const auto& a = corners[i];
        const auto& b = corners[(i + 1) % count];
        const double dx = b[0] - a[0];
        const double dy = b[1] - a[1];
        const double side = turn * (dx * (y - a[1]) - dy * (x - a[0]));
        if (side < -kPixelSlack * std::hypot(dx, dy))
            return false;
    }
    return true;
}

} // namespace

GLScreenBounds::GLScreenBounds()
{
    std::array<double, 16> modelView{};
    std::array<double, 16> projection{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, Viewport.data());
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += projection[static_cast<std::size_t>(k * 4 + row)] *
                       modelView[static_cast<std::size_t>(column * 4 + k)];
            Matrix[static_cast<std::size_t>(column * 4 + row)] = sum;
        }
}

std::optional<GLPixelPoint> GLScreenBounds::Project(const QXVector2& point) const
{
    const auto& m = Matrix;
    const double x = point.X;
    const double y = point.Y;
    const double w = m[3] * x + m[7] * y + m[15];
    if (w <= 1e-9)
        return std::nullopt;
    return GLPixelPoint{((m[0] * x + m[4] * y + m[12]) / w + 1.0) * 0.5 * Viewport[2],
                        ((m[1] * x + m[5] * y + m[13]) / w + 1.0) * 0.5 * Viewport[3]};
}

std::optional<double> GLScreenBounds::PixelDistance(const QXVector2& from, const QXVector2& to) const
{
    const auto a = Project(from);
    const auto b = Project(to);
    if (!a || !b)
        return std::nullopt;
    const double dx = b->X - a->X;
    const double dy = b->Y - a->Y;
    return std::sqrt(dx * dx + dy * dy);
}

bool GLScreenBounds::AllInViewport(const std::array<GLPixelPoint, kMaxCorners>& points) const
{
    return std::all_of(points.begin(), points.end(), [this](const GLPixelPoint& point) {
        return point.X >= 0.0 && point.X <= Viewport[2] && point.Y >= 0.0 && point.Y <= Viewport[3];
    });
}

bool GLScreenBounds::MayCoverPixel(const QXVector2* points, int count) const
{
    std::array<std::array<double, 2>, kMaxCorners> screen{};
    count = std::min(count, kMaxCorners);
    double left = 1e300;
    double right = -1e300;
    double bottom = 1e300;
    double top = -1e300;
    for (int i = 0; i < count; ++i) {
        const auto pixel = Project(points[i]);
        if (!pixel)
            return true;
        screen[static_cast<std::size_t>(i)] = {pixel->X, pixel->Y};
        left = std::min(left, pixel->X);
        right = std::max(right, pixel->X);
        bottom = std::min(bottom, pixel->Y);
        top = std::max(top, pixel->Y);
    }
    const PixelSpan columns = CentresWithin(left, right, Viewport[2]);
    const PixelSpan rows = CentresWithin(bottom, top, Viewport[3]);
    if (columns.First > columns.Last || rows.First > rows.Last)
        return false;
    // A box of few centres: look at each, since a thin slanted shape misses most of its box.
    if ((columns.Last - columns.First + 1.0) * (rows.Last - rows.First + 1.0) > kCentresToTest)
        return true;
    for (double row = rows.First; row <= rows.Last; ++row)
        for (double column = columns.First; column <= columns.Last; ++column)
            if (ConvexHolds(screen.data(), count, column + 0.5, row + 0.5))
                return true;
    return false;
}

bool GLRingBatch::PrepareBand(const GLBand& band, const GLScreenBounds* bounds)
{
    Edges.clear();
    const float inner = band.Inner;
    const float outer = band.Outer;
    ForEachBandEdge(band.Start, band.Sector, band.Segments, [&](int i, QXVector2 direction) {
        const float s = static_cast<float>(i) / static_cast<float>(band.Segments) * band.TextureSpan;
        Edges.push_back({direction.X * inner, direction.Y * inner, s, 0.0f, s, -3.0f, band.Colour});
        Edges.push_back({direction.X * outer, direction.Y * outer, s, 1.0f, s, 1.0f, band.Colour});
    });
    if (bounds != nullptr) {
        float left = Edges.front().X;
        float right = left;
        float bottom = Edges.front().Y;
        float top = bottom;
        for (const GLRingVertex& vertex : Edges) {
            left = std::min(left, vertex.X);
            right = std::max(right, vertex.X);
            bottom = std::min(bottom, vertex.Y);
            top = std::max(top, vertex.Y);
        }
        const QXVector2 box[4] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
        return bounds->MayCoverPixel(box, 4);
    }
    return true;
}

void GLRingBatch::CommitBand()
{
    // Each segment as the two triangles the driver makes of a strip's quad, with their corners in
    // the same order: interpolation rounds the same way, so the pixels are the same to the bit.
    for (std::size_t i = 0; i + 3 < Edges.size(); i += 2)
        for (const std::size_t corner : kStripTriangles)
            Vertices.push_back(Edges[i + corner]);
}

void GLRingBatch::Flush()
{
    if (Vertices.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(GLRingVertex), &Vertices.front().X);
    const bool textured = Attributes == GLRingAttributes::ColourAndTextures;
    GLTextureEngine* textures = GL()->TextureEngine;
    constexpr int kStride = sizeof(GLRingVertex);
    if (textured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, kStride, &Vertices.front().Colour.X);
        textures->SetTexCoordArray(1, kStride, &Vertices.front().S1);
        textures->SetTexCoordArray(0, kStride, &Vertices.front().S0);
    }
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(Vertices.size()));
    if (textured) {
        textures->ClearTexCoordArray(1);
        textures->ClearTexCoordArray(0);
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    Vertices.clear();
}

void DrawBandStrip(float start, float sector, int segments, float inner, float outer, GLBandTextures textures)
{
    GLTextureEngine* engine = GL()->TextureEngine;
    glBegin(GL_QUAD_STRIP);
    ForEachBandEdge(start, sector, segments, [&](int i, QXVector2 direction) {
        const float s = static_cast<float>(i) / static_cast<float>(segments);
        if (textures != GLBandTextures::None)
            engine->MultiTexCoord(0, s, 0.0f);
        if (textures == GLBandTextures::Units0And1)
            engine->MultiTexCoord(1, s, -3.0f);
        glVertex2f(direction.X * inner, direction.Y * inner);
        if (textures != GLBandTextures::None)
            engine->MultiTexCoord(0, s, 1.0f);
        if (textures == GLBandTextures::Units0And1)
            engine->MultiTexCoord(1, s, 1.0f);
        glVertex2f(direction.X * outer, direction.Y * outer);
    });
    glEnd();
}

void DrawBandOutline(float start, float sector, int segments, float inner, float outer)
{
    std::vector<QXVector2> edges;
    ForEachBandEdge(start, sector, segments, [&edges](int, QXVector2 direction) { edges.push_back(direction); });
    glBegin(GL_LINE_LOOP);
    for (const QXVector2& direction : edges)
        glVertex2f(direction.X * inner, direction.Y * inner);
    for (auto edge = edges.rbegin(); edge != edges.rend(); ++edge)
        glVertex2f(edge->X * outer, edge->Y * outer);
    glEnd();
}
