// Readable labels against labels as designed: which labels are drawn, and which way they read.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "presentation/gl_ring.h"
#include "resources/resource_font.h"
#include "ring/element_folder.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/ring_gl_fixture.h"

namespace {

constexpr QXColor kGrey{0.5f, 0.5f, 0.5f};

class GLRingLabelsTest : public RingGLTest {
protected:
    // Four unlabelled grey files, a quarter of the circle each, the drop shadow darkening as the
    // application has it.
    QOXRing* FourFiles()
    {
        Device->System2D->Fonts->FindFont("Default")->SetNegative(1);
        for (const char* name : {"a", "b", "c", "d"})
            Tree.File(name, 1);
        QOXRing* ring = Open();
        ring->Root->Label.clear();
        ring->Root->ForEachChild([&](QRElement* child) {
            child->Colour = kGrey;
            child->Label.clear();
            Quarters.push_back(child);
        });
        return ring;
    }
    // Gives quarter i a red label over a sector of the given width round `middle`.
    QRElement* Label(int i, float middle, float sector, float scale)
    {
        QRElement* element = Quarters[static_cast<std::size_t>(i)];
        element->StartAngle = middle - sector / 2.0f;
        element->EndAngle = middle + sector / 2.0f;
        element->Label = "abcdefgh";
        element->Tint = {1.0f, 0.0f, 0.0f};
        element->Scale = scale;
        return element;
    }
    // Pixels the labels changed: the ring drawn with them against the ring drawn without.
    int LabelledPixels(QOXRing* ring, QRElement* element)
    {
        Draw(ring);
        const auto labelled = Picture();
        const std::string label = element->Label;
        element->Label.clear();
        Draw(ring);
        const auto bare = Picture();
        element->Label = label;
        int changed = 0;
        for (std::size_t i = 0; i < bare.size(); i += 4)
            changed += std::equal(bare.begin() + i, bare.begin() + i + 4, labelled.begin() + i) ? 0 : 1;
        return changed;
    }
    // Where the shadow shows beside the label: the mean window position of shadow-only pixels
    // less that of label-only pixels (x right, y up).
    std::array<double, 2> ShadowOffset(QOXRing* ring)
    {
        Draw(ring);
        const auto pixels = Picture();
        const Rgba shadowOnly{0, 0, 0, 255};
        const Rgba labelOnly{255, 128, 128, 255};
        double sums[2][3] = {};
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* pixel = &pixels[static_cast<std::size_t>(y * kWidth + x) * 4];
                for (int kind = 0; kind < 2; ++kind)
                    if (Close(pixel, kind == 0 ? shadowOnly : labelOnly, 6)) {
                        sums[kind][0] += x;
                        sums[kind][1] += y;
                        sums[kind][2] += 1;
                    }
            }
        EXPECT_GT(sums[0][2], 10);
        EXPECT_GT(sums[1][2], 10);
        return {sums[0][0] / sums[0][2] - sums[1][0] / sums[1][2], sums[0][1] / sums[0][2] - sums[1][1] / sums[1][2]};
    }

    std::vector<QRElement*> Quarters;
};

// At zoom 1 a label of scale s has glyphs 8.6 s pixels high; its sector, at the radius where it
// starts (7.9), must be 1.04 s wide: 7.5 degrees at scale 1.
TEST_F(GLRingLabelsTest, OnlyLabelsThatCanBeReadAreDrawn)
{
    const struct {
        float Sector;
        float Scale;
        bool Readable;
    } cases[] = {
        {90.0f, 1.0f, true},   {90.0f, 0.5f, true},  // glyphs 4.3 pixels high
        {90.0f, 0.43f, false}, // 3.7 pixels
        {8.0f, 1.0f, true},    // 1.10 units wide where the label starts
        {7.0f, 1.0f, false},   // 0.97 units
        {20.0f, 0.45f, false}, {4.0f, 0.5f, true},
    };
    QOXRing* ring = FourFiles();
    for (const auto& sample : cases) {
        QRElement* element = Label(1, 135.0f, sample.Sector, sample.Scale);
        Renderer->Labels = GLRingLabels::Plain;
        EXPECT_GT(LabelledPixels(ring, element), 5) << sample.Sector << " degrees, scale " << sample.Scale;
        Renderer->Labels = GLRingLabels::Readable;
        const int changed = LabelledPixels(ring, element);
        if (sample.Readable)
            EXPECT_GT(changed, 5) << sample.Sector << " degrees, scale " << sample.Scale;
        else
            EXPECT_EQ(changed, 0) << sample.Sector << " degrees, scale " << sample.Scale;
    }
}

// Upright, a label's drop shadow lies behind it and below (left and down on screen); turned
// upside down, right and up.
TEST_F(GLRingLabelsTest, ReadableLabelsReadLeftToRightOnBothHalves)
{
    const struct {
        GLRingLabels Labels;
        int Quarter; // 1 lies right of the centre, 3 left of it
        bool Upright;
    } cases[] = {
        {GLRingLabels::Plain, 1, true},
        {GLRingLabels::Plain, 3, false},
        {GLRingLabels::Readable, 1, true},
        {GLRingLabels::Readable, 3, true},
    };
    QOXRing* ring = FourFiles();
    for (const auto& sample : cases) {
        for (QRElement* quarter : Quarters)
            quarter->Label.clear();
        // Sectors round 90 and 270 degrees: the labels run level, right and left of the centre.
        Label(sample.Quarter, sample.Quarter == 1 ? 90.0f : 270.0f, 20.0f, 2.0f);
        Renderer->Labels = sample.Labels;
        const auto offset = ShadowOffset(ring);
        const double sign = sample.Upright ? -1.0 : 1.0;
        EXPECT_GT(offset[0] * sign, 0.5) << "quarter " << sample.Quarter;
        EXPECT_GT(offset[1] * sign, 0.5) << "quarter " << sample.Quarter;
    }
    // Turned, the label still starts 0.9 outside the band's inner edge: it ends there.
    const auto edge = WindowPoint(ring, ring->InnerRadius(2) + 0.9f, 270.0f);
    const auto inside = WindowPoint(ring, ring->InnerRadius(2) + 0.2f, 270.0f);
    EXPECT_FALSE(Near(ReadPixel(edge[0] - 3, edge[1]), Stored(kGrey), 6)) << "the label's end";
    EXPECT_TRUE(Near(ReadPixel(inside[0], inside[1]), Stored(kGrey), 6)) << "the band inside it";
}

// Boxes on screen meet when they share area; touching edges and boxes turned apart do not.
TEST(GLLabelLayoutTest, OverlapTellsBoxesThatShareAreaOnScreen)
{
    using Box = std::array<GLPixelPoint, 4>;
    const Box square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}};
    const struct {
        const char* Name;
        Box Other;
        bool Overlap;
    } cases[] = {
        {"inside", {{{2, 2}, {4, 2}, {4, 4}, {2, 4}}}, true},
        {"crossing a corner", {{{8, 8}, {20, 8}, {20, 20}, {8, 20}}}, true},
        {"touching an edge", {{{10, 0}, {20, 0}, {20, 10}, {10, 10}}}, false},
        {"beside", {{{11, 0}, {20, 0}, {20, 10}, {11, 10}}}, false},
        // A diamond whose bounding box covers the square's corner but which does not.
        {"turned past a corner", {{{16, 11}, {21, 16}, {16, 21}, {11, 16}}}, false},
        {"turned across", {{{5, -3}, {13, 5}, {5, 13}, {-3, 5}}}, true},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(GLLabelLayout::Overlap(square, row.Other), row.Overlap) << row.Name;
        EXPECT_EQ(GLLabelLayout::Overlap(row.Other, square), row.Overlap) << row.Name;
    }
}

class SizeTrueLabelsTest : public RingGLTest {
protected:
    // A folder like /usr/share: 128 entries of sizes from a few bytes to a gigabyte, a few of them
    // folders of their own with many files, three of those expanded.
    QOXRing* CrowdedRing()
    {
        TheApp->Settings.SizeTrueRings = true;
        TheApp->Settings.ComputeFileSizeAutomatically = true;
        TheApp->Settings.ComputeFolderSize = true;
        for (int i = 0; i < 120; ++i)
            Tree.File("share" + std::to_string(i) + ".dat", static_cast<std::uintmax_t>(1e9 / std::pow(i + 1, 1.6)));
        for (int f = 0; f < 8; ++f)
            for (int i = 0; i < 40; ++i)
                Tree.File("lib" + std::to_string(f) + "/part" + std::to_string(i),
                          static_cast<std::uintmax_t>(4e8 / std::pow(f + 1, 1.2) / std::pow(i + 1, 1.3)));
        QOXRing* ring = Open();
        for (const char* name : {"lib0/", "lib2/", "lib5/"})
            static_cast<QREFolder*>(ChildNamed(*ring->Root, name))->Expand();
        ring->Root->Size = -1;
        ring->Root->ComputeSize();
        return ring;
    }
    // The labels as the view shows the ring at that zoom, its small items gathered for it.
    const std::vector<GLPlacedLabel>& LabelsAt(QOXRing* ring, float zoom)
    {
        ring->Zoom = zoom;
        ring->PixelsPerUnit = GLRing::PixelsPerUnit(*ring, kHeight);
        ring->Relayout();
        glPushMatrix();
        Renderer->SetupRingTransform(ring, GLRingPass::Normal);
        const std::vector<GLPlacedLabel>& labels = Renderer->PlacedLabels(ring);
        glPopMatrix();
        return labels;
    }
};

// At three zooms and with the ring pushed towards a corner: no two labels overlap, labels outside
// the ring stand whole in the window (or are left out), and where the window leaves room round
// the ring the five largest children of every shown folder are labelled, the wide ones with their
// sizes.
TEST_F(SizeTrueLabelsTest, LabelsNeverOverlapAndTheLargestAreAlwaysLabelled)
{
    QOXRing* ring = CrowdedRing();
    ring->PixelsPerUnit = GLRing::PixelsPerUnit(*ring, kHeight);
    ring->Relayout();
    const float roomy = 0.5f * GLRing::FitZoom(*ring, kWidth, kHeight);
    const struct {
        float Zoom;
        QXVector Position;
        bool LargestLabelled;
    } views[] = {{roomy, {0.0f, 0.0f, 0.0f}, true},
                 {1.0f, {0.0f, 0.0f, 0.0f}, false},
                 {2.5f, {0.0f, 0.0f, 0.0f}, false},
                 {1.0f, {14.0f, -10.0f, 0.0f}, false}};
    int outside = 0;
    for (const auto& view : views) {
        SCOPED_TRACE(testing::Message() << view.Zoom << " at " << view.Position.X);
        ring->Position = view.Position;
        const std::vector<GLPlacedLabel>& labels = LabelsAt(ring, view.Zoom);
        std::set<const QRElement*> labelled;
        int withSize = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            labelled.insert(labels[i].Element);
            withSize += labels[i].Text.find("iB") != std::string::npos ? 1 : 0;
            for (std::size_t k = i + 1; k < labels.size(); ++k)
                EXPECT_FALSE(GLLabelLayout::Overlap(labels[i].Corners, labels[k].Corners))
                    << labels[i].Text << " and " << labels[k].Text;
            if (labels[i].LeaderFrom <= 0.0f)
                continue;
            ++outside;
            for (const GLPixelPoint& corner : labels[i].Corners)
                EXPECT_TRUE(corner.X >= 0.0 && corner.X <= kWidth && corner.Y >= 0.0 && corner.Y <= kHeight)
                    << labels[i].Text << " at " << corner.X << "," << corner.Y;
        }
        EXPECT_EQ(labelled.size(), labels.size()) << "one label an element";
        EXPECT_GE(withSize, 5);
        auto check = [&](QRElement* element) {
            if (!element->IsFolder() || !static_cast<QREFolder*>(element)->Expanded)
                return;
            std::vector<const QRElement*> children;
            static_cast<QREFolder*>(element)->ForEachChild([&](const QRElement* child) {
                if (QRLayout::HasSector(*child))
                    children.push_back(child);
            });
            std::sort(children.begin(), children.end(), [](const QRElement* a, const QRElement* b) {
                return a->EndAngle - a->StartAngle > b->EndAngle - b->StartAngle;
            });
            for (std::size_t i = 0; i < std::min<std::size_t>(children.size(), 5); ++i)
                EXPECT_EQ(labelled.count(children[i]), 1u) << element->Name << children[i]->Name;
        };
        if (view.LargestLabelled)
            ForEachDrawnElement(ring->Root, check);
    }
    EXPECT_GT(outside, 0) << "no label went outside the ring";
}

// The labels are laid out once for a view and kept while neither the view nor the layout changes.
TEST_F(SizeTrueLabelsTest, TheLayoutIsKeptUntilTheViewOrTheRingChanges)
{
    QOXRing* ring = CrowdedRing();
    LabelsAt(ring, 1.0f);
    const std::uint64_t first = Renderer->LabelLayouts();
    glPushMatrix();
    Renderer->SetupRingTransform(ring, GLRingPass::Normal);
    Renderer->PlacedLabels(ring);
    glPopMatrix();
    EXPECT_EQ(Renderer->LabelLayouts(), first);
    ring->Rotation.Z = 30.0f;
    LabelsAt(ring, 1.0f);
    EXPECT_EQ(Renderer->LabelLayouts(), first + 1);
}

// A ring that turns or moves keeps the elements that may hold labels from one frame to the next;
// the labels placed from them are those a layout made afresh places, whatever the view.
TEST_F(SizeTrueLabelsTest, KeptCandidatesPlaceTheLabelsOfAFreshLayout)
{
    QOXRing* ring = CrowdedRing();
    LabelsAt(ring, 1.0f);
    const auto width = [](const std::string& text) { return 0.5f * static_cast<float>(text.size()); };
    const struct {
        float TurnZ;
        QXVector Position;
        float Zoom;
    } views[] = {{0.0f, {0.0f, 0.0f, 0.0f}, 1.0f},  {30.0f, {0.0f, 0.0f, 0.0f}, 1.0f},
                 {200.0f, {0.0f, 0.0f, 0.0f}, 1.0f}, {200.0f, {9.0f, -6.0f, 0.0f}, 1.0f},
                 {200.0f, {9.0f, -6.0f, 0.0f}, 2.0f}, {45.0f, {0.0f, 0.0f, 0.0f}, 0.6f}};
    GLLabelLayout kept;
    for (const auto& view : views) {
        SCOPED_TRACE(testing::Message() << view.TurnZ << " degrees, zoom " << view.Zoom);
        ring->Rotation.Z = view.TurnZ;
        ring->Position = view.Position;
        ring->Zoom = view.Zoom;
        glPushMatrix();
        Renderer->SetupRingTransform(ring, GLRingPass::Normal);
        const std::vector<GLPlacedLabel> labels = kept.Arrange(*ring, width);
        GLLabelLayout fresh;
        const std::vector<GLPlacedLabel>& expected = fresh.Arrange(*ring, width);
        glPopMatrix();
        ASSERT_EQ(labels.size(), expected.size());
        EXPECT_FALSE(labels.empty());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].Element, expected[i].Element);
            EXPECT_EQ(labels[i].Text, expected[i].Text);
            EXPECT_EQ(labels[i].Start, expected[i].Start);
        }
    }
}

} // namespace
