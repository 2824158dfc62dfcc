#pragma once
// Level of detail for the band passes: sibling sectors narrower than a pixel along their outer
// edge on screen are drawn together, one band per run of them, in the size-weighted mean of the
// colours they would be drawn in. A run of one colour may be as long as it likes; one of several
// colours ends before it grows past a few pixels, so colours stay close to where they were. Wider
// sectors are drawn one by one, exactly as ever. How wide a sector is on screen follows from its
// angle and its band's scale, worked out once a band and frame (GLBandScale), not element by
// element.
#include <array>
#include <optional>
#include <vector>

#include "presentation/gl_ring_geometry.h"

class QOXRing;
class QRElement;
class QRTexture;

// The pixels one degree of a circle round the ring's centre takes on screen, for one circle of
// each band of a ring in the transform current when it is made. The ring lies flat in front of the
// camera, so a degree takes the same everywhere round a circle; the scale is measured at a few
// places round it all the same and the largest taken, so that a view that tilted the ring would
// merge less and leave out fewer labels, never more.
class GLBandScale {
public:
    // The circle of an element on level L: the inner radius of layer L + `layer`, plus `beyond`
    // (the outer edge of its band: 1 and the bands' overlap; where its label starts: 0 and the
    // label's start). The ring and the bounds must outlive the scale.
    GLBandScale(QOXRing& ring, const GLScreenBounds& bounds, int layer, float beyond);

    // For the circle of an element on `level`; infinite when part of the circle lies behind the eye
    // (nothing is then thin or too small).
    double PixelsPerDegree(int level);
    // The pixels a ring unit across that circle (along it, a right angle to the radius) takes.
    double PixelsPerUnit(int level);
    // Pixels per degree for a circle of that radius.
    double PixelsPerDegreeAt(float radius) const;

private:
    float RadiusOf(int level) const;

    QOXRing* Ring;                // not owned
    const GLScreenBounds* Bounds; // not owned
    int Layer;
    float Beyond;
    std::vector<double> ByLevel; // worked out on first use; negative until then
};

// How finely the band passes draw: runs of thin siblings as one band each, or every element as a
// band of its own.
enum class GLRingDetail { Merged, Exact };

// The run of thin siblings under way in a pass's walk.
class GLBandRun {
public:
    // A merged band gets a segment for about every so many pixels of its outer edge, which keeps
    // that edge within a hundredth of a pixel of the round edge its thin sectors draw.
    static constexpr double kSegmentPixels = 4.0;
    // How far the pictures' s coordinate runs across a merged band for each of its elements: far
    // enough that the pictures are sampled at their smallest mipmap, as each thin sector samples
    // them.
    static constexpr float kTextureSpanPerElement = 256.0f;

    // The widest run of several colours, in pixels: colours are averaged over at most this much.
    // Each run costs the rasteriser two long thin triangles; at 4 pixels a flat folder of 100,000
    // files of mixed types costs about a quarter of what 1 pixel costs.
    static constexpr double kMixedRunPixels = 4.0;
    // A sector this wide is never thin: its chord no longer tells its arc.
    static constexpr float kWidestThinSector = 90.0f;

    // The on-screen width in pixels of the element's sector along its outer edge, whose degrees
    // take `pixelsPerDegree` each, when that is under a pixel and the element may join a run (no
    // children drawn after it); none otherwise.
    static std::optional<double> NarrowWidth(const QRElement* element, double pixelsPerDegree);
    // The same for a sector of a file, which never has children drawn after it.
    static std::optional<double> NarrowWidth(float sector, double pixelsPerDegree)
    {
        const double width = static_cast<double>(sector) * pixelsPerDegree;
        if (!(sector >= 0.0f && sector < kWidestThinSector) || !(width < 1.0))
            return std::nullopt;
        return width;
    }
    // Whether the element, `width` pixels wide and drawn in `colour`, can extend the run under way:
    // a sibling of its elements, drawn with the same file-type picture, that keeps the run in one
    // colour or within kMixedRunPixels.
    bool Continues(const QRElement* element, const QRTexture* picture, double width, const QXColor& colour) const;
    void Add(const QRElement* element, QRTexture* picture, double width, const QXColor& colour);
    // What Add makes of `count` more siblings of the run under way, the last of them `last`, all
    // in `colour` and with the run's picture, `degrees` and `width` pixels wide together.
    void AddSpan(const QRElement* last, int count, double degrees, double width, const QXColor& colour);
    void Clear();

    int Count() const { return Elements; }
    const QRElement* First() const { return FirstElement; }
    QRTexture* Picture() const { return RunPicture; }
    // The colour of a run's first element (the only one's, in a run of one).
    const QXColor& OnlyColour() const { return FirstColour; }
    // The run as one band between the radii.
    GLBand Band(float inner, float outer) const;

private:
    const QRElement* FirstElement = nullptr; // not owned
    const QRElement* LastElement = nullptr;  // not owned
    QRTexture* RunPicture = nullptr;         // not owned
    int Elements = 0;
    QXColor FirstColour;
    bool OneColour = true;
    double Pixels = 0.0;
    double Degrees = 0.0;
    // Colours times sectors, summed; and the plain sum, for a run of sectors that are all empty.
    std::array<double, 3> WeightedColour{};
    std::array<double, 3> ColourSum{};
};
