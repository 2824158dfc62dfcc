#include "presentation/gl_label_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "graphics/gl_2D_font.h"
#include "ring/element_summary.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"
#include "ring/size_text.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kPi = 3.141592653589793;
constexpr float kGapPixels = 4.0f;     // between a band's edge and the text in it
constexpr float kOutsidePixels = 10.0f; // between the ring and a label outside it
constexpr int kOutsideTries = 24;       // places further out a label outside may take
constexpr float kOutsideStep = 1.0f / 3.0f; // of a label's length, from one such place to the next
constexpr float kShadowShare = 0.1f / 0.08f; // the shadow's offset for a text size of 1

// One text in label space: outwards along the element's middle angle from the centre, across it.
class LabelBox {
public:
    LabelBox(const QRElement& element, float size)
        : Outwards(RingDirection(element.MidAngle())), Across(RingDirection(element.MidAngle() + 90.0f)),
          Half(GLFont::kGlyphHalfSize * size + kShadowShare * size)
    {
    }
    float HalfHeight() const { return Half; }
    QXVector2 At(float along, float side) const
    {
        return {Outwards.X * along + Across.X * side, Outwards.Y * along + Across.Y * side};
    }
    // Its corners on screen, from `start` to `end` along; none when one lies behind the eye.
    std::optional<std::array<GLPixelPoint, 4>> Screen(float start, float end, const GLScreenBounds& bounds) const
    {
        const QXVector2 corners[4] = {At(start, -Half), At(end, -Half), At(end, Half), At(start, Half)};
        std::array<GLPixelPoint, 4> screen{};
        for (int i = 0; i < 4; ++i) {
            const auto point = bounds.Project(corners[i]);
            if (!point)
                return std::nullopt;
            screen[static_cast<std::size_t>(i)] = *point;
        }
        return screen;
    }

private:
    QXVector2 Outwards;
    QXVector2 Across;
    float Half = 0.0f;
};

// "Videos 4.2 GiB" and "Videos"; the size alone is never shown.
std::array<std::string, 2> TextsOf(const QRElement& element)
{
    const std::string name = element.IsSummary() ? static_cast<const QRESummary&>(element).Caption()
                                                 : std::string(element.Label);
    if (!element.SizeKnown())
        return {name, name};
    return {name + " " + ShortSizeText(element.SizeForLayout()), name};
}

double ReachOf(QOXRing& ring, const QRElement& element)
{
    const double middle = 0.5 * (ring.InnerRadius(element.Level) + ring.InnerRadius(element.Level + 1));
    return (element.EndAngle - element.StartAngle) * kRadiansPerDegree * middle;
}

// Every labelled element on screen with the largest children of each shown folder marked, those
// first and then the others, larger before smaller. Elements whose sector is shorter on screen
// than a line of text is high can hold no label inside and are left out unless marked.
std::vector<GLLabelCandidate> CandidatesOf(QOXRing& ring, double pixelsPerUnit)
{
    std::vector<GLLabelCandidate> candidates;
    const double least = GLLabelLayout::kTextPixels / pixelsPerUnit;
    auto visit = [&](QRElement* element) {
        if (element->IsRoot() || !QRLayout::HasSector(*element))
            return;
        const double reach = ReachOf(ring, *element);
        if (reach >= least)
            candidates.push_back({element, reach, false});
    };
    ForEachDrawnElement(ring.Root, visit);
    // The largest children of every shown folder: the root's, and those of each expanded folder.
    std::vector<const QRElement*> largest;
    auto mark = [&](QRElement* element) {
        if (!element->IsFolder() || !static_cast<const QREFolder*>(element)->Expanded)
            return;
        largest.clear();
        static_cast<const QREFolder*>(element)->ForEachChild([&](const QRElement* child) {
            if (QRLayout::HasSector(*child) && child->Visible)
                largest.push_back(child);
        });
        const auto wider = [](const QRElement* a, const QRElement* b) {
            return a->EndAngle - a->StartAngle > b->EndAngle - b->StartAngle;
        };
        const auto keep = std::min<std::size_t>(largest.size(), GLLabelLayout::kAlwaysLabelled);
        std::partial_sort(largest.begin(), largest.begin() + static_cast<long>(keep), largest.end(), wider);
        for (std::size_t i = 0; i < keep; ++i)
            candidates.push_back({largest[i], ReachOf(ring, *largest[i]), true});
    };
    ForEachDrawnElement(ring.Root, mark);
    std::stable_sort(candidates.begin(), candidates.end(), [](const GLLabelCandidate& a, const GLLabelCandidate& b) {
        return a.Always != b.Always ? a.Always : a.Reach > b.Reach;
    });
    return candidates;
}

// Separating axes: the boxes are apart when the points of one lie beyond an edge of the other.
bool Apart(const std::array<GLPixelPoint, 4>& a, const std::array<GLPixelPoint, 4>& b)
{
    for (std::size_t i = 0; i < 4; ++i) {
        const GLPixelPoint& p = a[i];
        const GLPixelPoint& q = a[(i + 1) % 4];
        const double nx = q.Y - p.Y;
        const double ny = p.X - q.X;
        double lowA = 1e300, highA = -1e300, lowB = 1e300, highB = -1e300;
        for (std::size_t k = 0; k < 4; ++k) {
            const double onA = nx * a[k].X + ny * a[k].Y;
            const double onB = nx * b[k].X + ny * b[k].Y;
            lowA = std::min(lowA, onA);
            highA = std::max(highA, onA);
            lowB = std::min(lowB, onB);
            highB = std::max(highB, onB);
        }
        if (highA <= lowB || highB <= lowA)
            return true;
    }
    return false;
}

bool ReadsBackwards(const LabelBox& box, float start, const GLScreenBounds& bounds)
{
    const auto from = bounds.Project(box.At(start, 0.0f));
    const auto further = bounds.Project(box.At(start + 1.0f, 0.0f));
    return from && further && further->X < from->X;
}

} // namespace

bool GLLabelLayout::ViewKey::operator==(const ViewKey& other) const
{
    if (Ring != other.Ring || LayoutCount != other.LayoutCount)
        return false;
    for (std::size_t i = 0; i < Marks.size(); ++i)
        if (Marks[i].X != other.Marks[i].X || Marks[i].Y != other.Marks[i].Y)
            return false;
    return true;
}

bool GLLabelLayout::CandidateKey::Holds(const CandidateKey& other) const
{
    // Turning the ring moves the projected points by rounding errors only.
    constexpr float kSameZoom = 1e-4f;
    return Ring == other.Ring && LayoutCount == other.LayoutCount && Ring != nullptr &&
           std::abs(PixelsPerUnit - other.PixelsPerUnit) <= kSameZoom * PixelsPerUnit;
}

const std::vector<GLLabelCandidate>& GLLabelLayout::CandidatesFor(QOXRing& ring, float pixelsPerUnit)
{
    const CandidateKey key{&ring, ring.LayoutCount, pixelsPerUnit};
    if (!CandidatesKey.Holds(key)) {
        Candidates = CandidatesOf(ring, pixelsPerUnit);
        CandidatesKey = key;
    }
    return Candidates;
}

bool GLLabelLayout::Overlap(const std::array<GLPixelPoint, 4>& a, const std::array<GLPixelPoint, 4>& b)
{
    return !Apart(a, b) && !Apart(b, a);
}

const std::vector<GLPlacedLabel>& GLLabelLayout::Arrange(QOXRing& ring, const TextWidth& width)
{
    const GLScreenBounds bounds;
    ViewKey key{&ring, ring.LayoutCount, {}};
    const QXVector2 marks[3] = {{0.0f, 0.0f}, {10.0f, 0.0f}, {0.0f, 10.0f}};
    for (std::size_t i = 0; i < 3; ++i)
        key.Marks[i] = bounds.Project(marks[i]).value_or(GLPixelPoint{-1.0, -1.0});
    if (key == Key)
        return Placed;
    Key = key;
    Place(ring, bounds, width);
    ++LayoutsMade;
    return Placed;
}

void GLLabelLayout::Place(QOXRing& ring, const GLScreenBounds& bounds, const TextWidth& width)
{
    Placed.clear();
    const auto unit = bounds.PixelDistance({0.0f, 0.0f}, {1.0f, 0.0f});
    if (!unit || *unit < 1e-3)
        return;
    const auto pixelsPerUnit = static_cast<float>(*unit);
    const float size = kTextPixels / (pixelsPerUnit * 2.0f * GLFont::kGlyphHalfSize);
    const float gap = kGapPixels / pixelsPerUnit;
    const float ringEdge = ring.InnerRadius(ring.MaxDepth() + 1);
    const auto fits = [&](const std::array<GLPixelPoint, 4>& box) {
        return std::none_of(Placed.begin(), Placed.end(),
                            [&](const GLPlacedLabel& other) { return Overlap(box, other.Corners); });
    };
    // A label outside the ring is shown whole or not at all: cut by the window's edge, it would
    // name nothing readable.
    const auto take = [&](const QRElement& element, const std::string& text, float start, float end, float leader,
                          const LabelBox& box) {
        const auto screen = box.Screen(start, end, bounds);
        if (!screen || !fits(*screen) || (leader > 0.0f && !bounds.AllInViewport(*screen)))
            return false;
        Placed.push_back({&element, text, size, start, leader, ReadsBackwards(box, start, bounds), *screen});
        return true;
    };
    std::unordered_set<const QRElement*> done; // the largest children come twice
    for (const GLLabelCandidate& candidate : CandidatesFor(ring, pixelsPerUnit)) {
        const QRElement& element = *candidate.Element;
        if (done.count(&element) != 0)
            continue;
        const LabelBox box(element, size);
        const float inner = ring.InnerRadius(element.Level);
        const float outer = ring.InnerRadius(element.Level + 1);
        const float start = inner + gap;
        const double sector = std::min((element.EndAngle - element.StartAngle) * kRadiansPerDegree, kPi);
        const bool wide = start * std::sin(sector / 2.0) >= box.HalfHeight();
        bool placed = false;
        for (const std::string& text : TextsOf(element)) {
            const float end = start + width(text) * size;
            if (wide && end <= outer - gap && take(element, text, start, end, 0.0f, box)) {
                placed = true;
                break;
            }
        }
        // Outside, neighbours' labels run along nearly the same line: each try starts a third of
        // a label's length further out, so that they stand one after the other; where the name and size
        // would reach past the window's edge, the name alone may still fit.
        const std::array<std::string, 2> texts = TextsOf(element);
        const float length = width(texts[0]) * size + kOutsidePixels / pixelsPerUnit;
        for (int step = 0; !placed && candidate.Always && step < kOutsideTries; ++step) {
            const float from = ringEdge + kOutsidePixels / pixelsPerUnit + length * kOutsideStep * static_cast<float>(step);
            for (std::size_t i = 0; !placed && i < texts.size(); ++i)
                placed = take(element, texts[i], from, from + width(texts[i]) * size, outer, box);
        }
        if (placed)
            done.insert(&element);
    }
}
