#pragma once
// Draws rings: every visible element as an annular sector of its layer, with a radial label, the
// ring's white silhouette for the shadow map, a cached miniature for the ring list, and the pick
// that finds the element drawn under the mouse pointer. Every pass takes an element's band from
// BandOf, on the angles of the ring's layout.
#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "graphics/gl_2D_glyphs.h"
#include "presentation/gl_label_layout.h"
#include "presentation/gl_ring_colours.h"
#include "presentation/gl_ring_detail.h"
#include "presentation/gl_ring_geometry.h"

class GLMaterialEngine;
class QACursor;
class QAKeyboard;
class QOXRing;
class QRElement;
class QREFile;
class QRTexture;

// How bands reach OpenGL: collected into vertex arrays with what cannot reach a pixel left out, or
// one glBegin/glEnd strip per element with nothing left out and every label printed as designed.
// With exact detail and plain labels both give the same picture.
enum class GLRingGeometry { Batched, Immediate };
// How labels are drawn: only those big enough to read, upright on both halves of the ring and all
// glyphs of a font in one vertex array; or every label as designed, two prints each.
enum class GLRingLabels { Readable, Plain };
// The camera a pass sees the ring with.
enum class GLRingPass { Normal, Shadow };

class GLRing : public QOXObject {
    QOX_CLASS(GLRing)
public:
    static constexpr float kSegmentDegrees = 20.0f;
    // The outer edge of a band reaches this far over the next layer, which is drawn later and
    // covers it where it has elements.
    static constexpr float kBandOverlap = 0.1f;
    // The outlines: unlike hover (darker) and selection (brighter), a line in a colour of its own.
    static constexpr QXColor kMarkColour{0.1f, 0.9f, 1.0f};
    static constexpr float kMarkWidth = 3.0f;
    static constexpr QXColor kMatchColour{1.0f, 0.45f, 0.0f};
    static constexpr float kMatchWidth = 2.0f;

    // Segments of an element's band: about one per 20 degrees per level, at least one; an exact
    // half goes to the even neighbour. The miniature uses half as many.
    static int SegmentCount(int level, float sector);
    static int IconSegmentCount(int level, float sector);
    // The element's band as every pass draws and picks it: its sector from the inner radius of its
    // layer to that of the next layer plus kBandOverlap, in SegmentCount segments. The miniature
    // draws the same band in fewer segments.
    static GLBand BandOf(QOXRing* ring, const QRElement* element);

    // The zoom at which the whole ring, out to its outermost band, fits a view of that size with a
    // little room round it; never more than the ring's reset zoom (BaseZoom), so a small ring is not
    // blown up.
    static float FitZoom(QOXRing& ring, int viewWidth, int viewHeight);

    // Screen pixels per ring unit, in the ring's plane, at its zoom in a view that high.
    static float PixelsPerUnit(const QOXRing& ring, int viewHeight);

    explicit GLRing(QOXObject* owner);

    void Init();
    void DrawRing(QOXRing* ring);
    void DrawShadow(QOXRing* ring);
    void DrawIcon(QOXRing* ring);
    // The element drawn at the centre of the pixel under the window point (y downwards), or none:
    // the last element in drawing order (the one on top) whose band covers that point. An element
    // without a sector covers nothing.
    QRElement* Pick(QOXRing* ring, float x, float y);
    // Camera and model-view for drawing in the ring's space.
    void SetupRingTransform(QOXRing* ring, GLRingPass pass);
    // Size true, the ring's labels as the view (the GL matrices current now) shows it; laid out
    // again only when the ring's layout or the view changed.
    const std::vector<GLPlacedLabel>& PlacedLabels(QOXRing* ring);
    std::uint64_t LabelLayouts() const { return LabelLayout.Layouts(); }
    // The labels kept may name an element that is gone: they are laid out again before the next draw.
    void ForgetLabels() { LabelLayout.Forget(); }

    QRTexture* ElementTexture = nullptr;  // owned as a child
    QRTexture* RootTexture = nullptr;     // owned as a child
    QRTexture* PickedTexture = nullptr;   // owned as a child; held for the whole run
    QRTexture* SelectedTexture = nullptr; // owned as a child; held for the whole run
    // Set by the scene before each frame's drawing.
    const QRElement* HoverElement = nullptr; // not owned
    const QACursor* Cursor = nullptr;        // not owned; without one there is no hover or range shading
    const QAKeyboard* Keys = nullptr;        // not owned; without it no element is outlined
    GLRingGeometry Geometry = GLRingGeometry::Batched;
    GLRingDetail Detail = GLRingDetail::Merged; // of the batched bands and silhouette
    GLRingLabels Labels = GLRingLabels::Readable; // of the batched drawing; the scene sets it each frame
    long ElementsDrawn = 0; // elements whose bands the main pass has drawn so far, thin runs included
    // Labels below this glyph height on screen are not drawn (readable labels).
    static constexpr float kReadableGlyphPixels = 4.0f;

protected:
    void ChildRemoved(QOXObject* child) override;

private:
    // Pushes the matrix, sets the ring transform up and starts an unlit working material.
    GLMaterialEngine* BeginRingPass(QOXRing* ring, GLRingPass pass);
    void DrawElements(QOXRing* ring);
    void DrawSilhouette(QOXRing* ring);
    // The keyboard's current element and the find bar's matches, outlined over their bands.
    void DrawMarks(QOXRing* ring);
    void DrawOutline(QOXRing* ring, const QRElement* element, const QXColor& colour, float width);
    void BuildIcon(QOXRing* ring);
    void BindElementTextures(const QRElement* element, QRTexture* typePicture);
    void BindBandTextures(bool root, QRTexture* typePicture);
    // Labels (gl_ring_labels.cpp).
    void DrawLabels(QOXRing* ring);
    void DrawLabel(QOXRing* ring, const QRElement* element);
    void DrawReadableLabels(QOXRing* ring);
    // Size true: the labels laid out so that none overlaps another, with leader lines to those
    // outside the ring.
    void DrawPlacedLabels(QOXRing* ring);
    // The bands of the leader lines to the labels outside the ring.
    std::vector<GLBand> LeaderBands(QOXRing* ring);
    // The colours of the coming pass, after the settings.
    void BeginColours();
    // `base` (the element's colour for the pass) darkened under the pointer, brightened selected.
    QXColor ShadedColour(const QRElement* element, const QXColor& base) const;
    bool ShownSelected(const QRElement* element) const;
    bool Hovered(const QRElement* element) const;
    QRTexture* TypePicture(const QRElement* element) const;
    QRTexture* TypePicture(const QREFile* file) const;

    // Kept from frame to frame, so that their arrays keep their room.
    GLRingBatch Bands{GLRingAttributes::ColourAndTextures};
    GLRingBatch Silhouette{GLRingAttributes::PositionsOnly};
    GLGlyphBatch ShadowGlyphs;
    GLGlyphBatch LabelGlyphs;
    GLRingColours Colours;
    GLLabelLayout LabelLayout;
};
