#pragma once
// Level of detail for the band passes: sibling sectors narrower than a pixel along their outer
// edge on screen are drawn together, one band per run of them, in the size-weighted mean of the
// colours they would be drawn in. A run of one colour may be as long as it likes; one of several
// colours ends before it grows past a few pixels, so colours stay close to where they were. Wider
// sectors are drawn one by one, exactly as ever.
#include <array>
#include <optional>

#include "presentation/gl_ring_geometry.h"

class QRElement;
class QRTexture;

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

    // The bounds must outlive the run.
    explicit GLBandRun(const GLScreenBounds& bounds) : Bounds(&bounds) {}

    // The on-screen width in pixels of the element's sector along its outer edge (radius `outer`)
    // when that is under a pixel and the element may join a run (no children drawn after it);
    // none otherwise.
    std::optional<double> NarrowWidth(const QRElement* element, float outer) const;
    // Whether the element, `width` pixels wide and drawn in `colour`, can extend the run under way:
    // a sibling of its elements, drawn with the same file-type picture, that keeps the run in one
    // colour or within kMixedRunPixels.
    bool Continues(const QRElement* element, const QRTexture* picture, double width, const QXColor& colour) const;
    void Add(const QRElement* element, QRTexture* picture, double width, const QXColor& colour);
    void Clear();

    int Count() const { return Elements; }
    const QRElement* First() const { return FirstElement; }
    QRTexture* Picture() const { return RunPicture; }
    // The colour of a run's first element (the only one's, in a run of one).
    const QXColor& OnlyColour() const { return FirstColour; }
    // The run as one band between the radii.
    GLBand Band(float inner, float outer) const;

private:
    const GLScreenBounds* Bounds; // not owned
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
