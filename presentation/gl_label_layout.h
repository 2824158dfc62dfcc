#pragma once
// Where the labels of a size-true ring go: name and size ("Videos 4.2 GiB") where the sector has
// room, the name alone where only that fits, nothing where nothing does; the largest children of
// every shown folder always, outside the ring with a leader line when their sector is too narrow
// (as long as the label then stands whole in the window).
// Larger elements are placed first and no two labels overlap on screen. The text is a fixed
// height on screen whatever the zoom. The labels are laid out again only when the ring's layout
// or the view changed, and kept between frames.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "presentation/gl_ring_geometry.h"

class QOXRing;
class QRElement;

struct GLPlacedLabel {
    const QRElement* Element = nullptr; // not owned; the ring's layout count keeps it valid
    std::string Text;
    float Size = 0.0f;       // the text size, in ring units
    float Start = 0.0f;      // where the text begins, from the centre along the element's middle angle
    float LeaderFrom = 0.0f; // outside the band: a leader line from this radius to the text; 0 none
    bool Turned = false;     // on the left half: read the other way round, so it stays upright
    std::array<GLPixelPoint, 4> Corners{}; // the text's box on screen, in order round it
};

// An element that may hold a label, and whether it is among the largest children of its folder.
struct GLLabelCandidate {
    const QRElement* Element = nullptr; // not owned; the ring's layout count keeps it valid
    double Reach = 0.0;                 // its sector's length in the middle of its band, ring units
    bool Always = false;
};

class GLLabelLayout {
public:
    // The width of a text in units of its size.
    using TextWidth = std::function<float(const std::string& text)>;

    static constexpr int kAlwaysLabelled = 5; // the largest children of each shown folder
    static constexpr float kTextPixels = 15.0f; // a glyph's height on screen

    // The ring's labels as the view (the GL matrices current now) shows it.
    const std::vector<GLPlacedLabel>& Arrange(QOXRing& ring, const TextWidth& width);
    // The labels kept refer to elements that may be gone: the next call lays them out again.
    void Forget()
    {
        Key = {};
        CandidatesKey = {};
    }
    std::uint64_t Layouts() const { return LayoutsMade; }

    // Whether two convex boxes on screen overlap (touching edges do not).
    static bool Overlap(const std::array<GLPixelPoint, 4>& a, const std::array<GLPixelPoint, 4>& b);

private:
    struct ViewKey {
        const QOXRing* Ring = nullptr;
        std::uint64_t LayoutCount = 0;
        std::array<GLPixelPoint, 3> Marks{}; // fixed ring points on screen: the view as it was
        bool operator==(const ViewKey& other) const;
    };
    struct CandidateKey {
        const QOXRing* Ring = nullptr;
        std::uint64_t LayoutCount = 0;
        float PixelsPerUnit = 0.0f;
        bool Holds(const CandidateKey& other) const;
    };
    void Place(QOXRing& ring, const GLScreenBounds& bounds, const TextWidth& width);
    // Which elements may hold a label follows from the layout and the zoom alone: a ring that only
    // turns or moves keeps them, and only their places on screen are found again.
    const std::vector<GLLabelCandidate>& CandidatesFor(QOXRing& ring, float pixelsPerUnit);

    ViewKey Key;
    CandidateKey CandidatesKey;
    std::vector<GLLabelCandidate> Candidates;
    std::vector<GLPlacedLabel> Placed;
    std::uint64_t LayoutsMade = 0;
};
