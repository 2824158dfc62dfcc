#pragma once
// The geometry every ring pass shares: the vertices of a band, the vertex-array batch the drawing
// fills, and the test whether a shape can reach a pixel. The angles and the walk over the drawn
// elements are the ring's layout (ring/ring_layout.h).
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "engine/qox_constant.h"
#include "ring/ring_layout.h"

// Ring-space direction of an angle in degrees: angle 0 points along -y, angles grow towards +x.
inline QXVector2 RingDirection(float degrees)
{
    const float radians = degrees * 0.017453292519943295f;
    return {std::sin(radians), -std::cos(radians)};
}

// Calls visit(i, direction) for the n + 1 edges of a band of `segments` segments; the angle grows
// by sector / segments each step, added up as it goes.
template <class Visit>
void ForEachBandEdge(float start, float sector, int segments, Visit visit)
{
    const float step = sector / static_cast<float>(segments);
    float angle = start;
    for (int i = 0; i <= segments; ++i) {
        visit(i, RingDirection(angle));
        angle += step;
    }
}

// A point in window pixels, y upwards.
struct GLPixelPoint {
    double X = 0.0;
    double Y = 0.0;
};

// Where ring-space shapes land on the screen, from the model-view and projection matrices and the
// viewport current when it was made.
class GLScreenBounds {
public:
    GLScreenBounds();
    static constexpr int kMaxCorners = 4;

    // The window point of a ring-space point; none for a point behind the eye.
    std::optional<GLPixelPoint> Project(const QXVector2& point) const;
    // How many pixels apart two ring-space points land; none when either is behind the eye.
    std::optional<double> PixelDistance(const QXVector2& from, const QXVector2& to) const;

    // Whether the convex polygon of the points (corners in order, at most four) could cover the
    // centre of a pixel of the viewport. A point behind the eye answers yes: nothing is left out
    // that might show.
    bool MayCoverPixel(const QXVector2* points, int count) const;
    // Whether every one of the window points lies in the viewport.
    bool AllInViewport(const std::array<GLPixelPoint, kMaxCorners>& points) const;

private:
    std::array<double, 16> Matrix{}; // projection x model-view, column-major
    std::array<int, 4> Viewport{};
};

struct GLRingVertex {
    float X = 0.0f;
    float Y = 0.0f;
    float S0 = 0.0f;
    float T0 = 0.0f;
    float S1 = 0.0f;
    float T1 = 0.0f;
    QXColor Colour{1.0f, 1.0f, 1.0f};
};

// One band as a pass draws it. The pictures' s coordinate runs from 0 to TextureSpan across it.
struct GLBand {
    float Start = 0.0f;
    float Sector = 0.0f;
    int Segments = 1;
    float Inner = 0.0f;
    float Outer = 0.0f;
    QXColor Colour{1.0f, 1.0f, 1.0f};
    float TextureSpan = 1.0f;
};

// What a batch sends besides positions.
enum class GLRingAttributes { PositionsOnly, ColourAndTextures };

// Bands collected as triangles into one vertex array and drawn with one call; whoever changes texture
// bindings flushes first, so the picture keeps its drawing order.
class GLRingBatch {
public:
    explicit GLRingBatch(GLRingAttributes attributes) : Attributes(attributes) {}

    // Makes the band at hand; false when `bounds` (when given) show that it cannot reach a pixel.
    bool PrepareBand(const GLBand& band, const GLScreenBounds* bounds);
    // Adds the band at hand to the batch.
    void CommitBand();
    void Flush();

private:
    GLRingAttributes Attributes;
    std::vector<GLRingVertex> Vertices;
    std::vector<GLRingVertex> Edges; // the inner and outer vertex of every edge of the band at hand
};

// One band as a glBegin/glEnd quad strip; with textures, coordinates on units 0 and 1 before each
// vertex (unit 1 only when `typePicture`).
enum class GLBandTextures { None, Unit0, Units0And1 };
void DrawBandStrip(float start, float sector, int segments, float inner, float outer, GLBandTextures textures);
// The outline of the same band as one line loop: along the inner edge, back along the outer one.
void DrawBandOutline(float start, float sector, int segments, float inner, float outer);
