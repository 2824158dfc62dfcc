// Level of detail against the exact drawing: sectors of a pixel or more must not change at all,
// thin ones may change only a few pixels, runs keep their colours where they were, and picking
// still finds the exact element.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "presentation/gl_ring.h"
#include "presentation/gl_ring_detail.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/ring_gl_fixture.h"

namespace {

// The radius that fills the view's height at zoom 1 (the camera sees 45 degrees from 70 units).
constexpr float kViewRadius = 28.0f;

struct Pictures {
    std::vector<std::uint8_t> Ring;
    std::vector<std::uint8_t> Shadow;
};

double DifferingShare(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    int differing = 0;
    for (std::size_t i = 0; i < a.size(); i += 4)
        differing += std::equal(a.begin() + i, a.begin() + i + 4, b.begin() + i) ? 0 : 1;
    return differing / static_cast<double>(a.size() / 4);
}

class GLRingDetailTest : public RingGLTest {
protected:
    // The program's own band pictures, whose mipmaps show how finely a band is sampled.
    void UseShippedPictures()
    {
        for (const char* name : {"element", "root"}) {
            std::ifstream file(std::string(ORBIVANE_SOURCE_DATA) + "textures/" + name + ".png", std::ios::binary);
            ProgramFolder.Write(std::string("textures/") + name + ".png",
                                std::string(std::istreambuf_iterator<char>(file), {}));
        }
        Renderer = QOXMake<GLRing>(nullptr);
        Renderer->Init();
        Renderer->Cursor = Cursor;
    }

    // A ring whose outer edge fills the view's height.
    QOXRing* Filling(QOXRing* ring)
    {
        const float zoom = std::sqrt(kViewRadius / ring->InnerRadius(ring->MaxDepth() + 1));
        ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, zoom);
        return ring;
    }

    QOXRing* FlatRing(int files)
    {
        for (int f = 0; f < files; ++f)
            Tree.File("entry_" + std::to_string(f));
        return Open();
    }

    // The bands with their labels, and the silhouette, at the given detail.
    Pictures DrawAt(QOXRing* ring, GLRingDetail detail)
    {
        Renderer->Detail = detail;
        Pictures pictures;
        Draw(ring);
        pictures.Ring = Picture();
        ClearTo(0.0f, 0.0f, 0.0f);
        Renderer->DrawShadow(ring);
        pictures.Shadow = Picture();
        return pictures;
    }

    // Where ring space lands on screen in the normal pass.
    static GLScreenBounds BoundsOf(GLRing& renderer, QOXRing* ring)
    {
        glPushMatrix();
        renderer.SetupRingTransform(ring, GLRingPass::Normal);
        const GLScreenBounds bounds;
        glPopMatrix();
        return bounds;
    }

    // How many drawn elements are narrower than a pixel, as the bands pass sees them.
    int ThinElements(QOXRing* ring)
    {
        const GLScreenBounds bounds = BoundsOf(*Renderer, ring);
        GLBandScale scale(*ring, bounds, 1, GLRing::kBandOverlap);
        int thin = 0;
        auto count = [&](QRElement* element) {
            thin += GLBandRun::NarrowWidth(element, scale.PixelsPerDegree(element->Level)) ? 1 : 0;
        };
        ForEachDrawnElement(ring->Root, count);
        return thin;
    }
};

// The width of a sector on screen, taken once a band from its scale, is the width each element's
// own projection gives (its outer edge's chord, turned into the arc) in every view: plain, zoomed
// and moved, turned, far away, half minimised; so the level of detail decides as it did element by
// element, and draws the same picture (the tests below compare it with the exact drawing).
TEST_F(GLRingDetailTest, WidthsFromTheBandsScaleAreTheProjectedOnes)
{
    for (int f = 0; f < 40; ++f) {
        Tree.File("file" + std::to_string(f), static_cast<std::uintmax_t>(f * 37 % 500));
        Tree.File("one/file" + std::to_string(f), static_cast<std::uintmax_t>(f % 9));
        Tree.File("one/two/file" + std::to_string(f), static_cast<std::uintmax_t>(f * f));
    }
    TheApp->Settings.ComputeFileSizeAutomatically = true;
    QOXRing* ring = Open();
    static_cast<QREFolder*>(ChildNamed(*ring->Root, "one/"))->ExpandAll();
    ring->Relayout();
    const struct {
        const char* Name;
        QXVector Position;
        QXVector Rotation;
        float Zoom;
        float Minimised;
    } views[] = {
        {"plain", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.0f, 0.0f},
        {"zoomed in and moved", {6.0f, -9.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 7.5f, 0.0f},
        {"turned", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 137.0f}, 1.3f, 0.0f},
        {"far away", {1.0f, 2.0f, 0.0f}, {0.0f, 0.0f, -20.0f}, 0.1f, 0.0f},
        {"half minimised", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 10.0f}, 1.0f, 0.2f},
    };
    int compared = 0;
    for (const auto& view : views) {
        ring->SetView(view.Position, view.Rotation, view.Zoom);
        ring->MinimizeAnimation->Start(QRIteration::Linear, QRIteration::Forwards, 1.0f);
        ring->MinimizeAnimation->Progress = view.Minimised;
        const GLScreenBounds bounds = BoundsOf(*Renderer, ring);
        GLBandScale scale(*ring, bounds, 1, GLRing::kBandOverlap);
        auto compare = [&](QRElement* element) {
            if (element->EndAngle - element->StartAngle >= 90.0f)
                return; // never thin: a chord no longer tells such an arc
            const float outer = ring->InnerRadius(element->Level + 1) + GLRing::kBandOverlap;
            const QXVector2 from = RingDirection(element->StartAngle);
            const QXVector2 to = RingDirection(element->EndAngle);
            const double chord =
                bounds.PixelDistance({from.X * outer, from.Y * outer}, {to.X * outer, to.Y * outer}).value();
            const double half = (element->EndAngle - element->StartAngle) * 0.008726646259971648;
            const double projected = half > 1e-6 ? chord * half / std::sin(half) : chord;
            const double banded = (element->EndAngle - element->StartAngle) * scale.PixelsPerDegree(element->Level);
            EXPECT_NEAR(banded, projected, 1e-3 * std::max(1.0, projected)) << view.Name << " " << element->Name;
            ++compared;
        };
        ForEachDrawnElement(ring->Root, compare);
    }
    EXPECT_GT(compared, 5 * 120);
}

TEST_F(GLRingDetailTest, SectorsOfAPixelOrMoreAreDrawnExactlyAsBefore)
{
    UseShippedPictures();
    for (int f = 0; f < 12; ++f) {
        Tree.File("file" + std::to_string(f), static_cast<std::uintmax_t>(f * 37 % 500));
        Tree.File("one/file" + std::to_string(f), static_cast<std::uintmax_t>(f % 9));
    }
    TheApp->Settings.ComputeFileSizeAutomatically = true;
    QOXRing* ring = Open();
    static_cast<QREFolder*>(ChildNamed(*ring->Root, "one/"))->Expand();
    ring->Relayout();
    const struct {
        const char* Name;
        QXVector Position;
        QXVector Rotation;
        float Zoom;
    } views[] = {
        {"plain", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.0f},
        {"zoomed in and moved", {2.0f, -3.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 2.6f},
        {"turned", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 37.0f}, 1.3f},
    };
    for (const auto& view : views) {
        ring->SetView(view.Position, view.Rotation, view.Zoom);
        ASSERT_EQ(ThinElements(ring), 0) << view.Name;
        const Pictures exact = DrawAt(ring, GLRingDetail::Exact);
        const Pictures merged = DrawAt(ring, GLRingDetail::Merged);
        EXPECT_TRUE(exact.Ring == merged.Ring) << view.Name;
        EXPECT_TRUE(exact.Shadow == merged.Shadow) << view.Name;
    }
}

TEST_F(GLRingDetailTest, AHundredThousandThinSectorsOfOneColourChangeAtMostThreePercentOfThePixels)
{
    UseShippedPictures();
    QOXRing* ring = Filling(FlatRing(100000));
    ASSERT_GT(ThinElements(ring), 99000);
    const Pictures exact = DrawAt(ring, GLRingDetail::Exact);
    const Pictures merged = DrawAt(ring, GLRingDetail::Merged);
    EXPECT_LE(DifferingShare(exact.Ring, merged.Ring), 0.03);
    EXPECT_LE(DifferingShare(exact.Shadow, merged.Shadow), 0.03);
    // The shadow takes a folder of thin files at once; one by one it is the same picture.
    ASSERT_LT(ring->Root->WidestFileSector, 0.01f);
    ring->Root->WidestFileSector = 360.0f;
    EXPECT_LE(DifferingShare(DrawAt(ring, GLRingDetail::Merged).Shadow, merged.Shadow), 0.0005);
    // The pointer still finds the one thin sector under it.
    for (const float angle : {30.0f, 100.0f, 250.0f}) {
        const auto point = WindowPoint(ring, 15.0f, angle);
        const float x = static_cast<float>(point[0]) + 0.5f;
        const float y = static_cast<float>(kHeight - point[1]) - 0.5f;
        const QRElement* found = Renderer->Pick(ring, x, y);
        ASSERT_NE(found, nullptr) << angle;
        EXPECT_NEAR(found->MidAngle(), angle, 1.0f);
    }
}

TEST_F(GLRingDetailTest, AThinRunTakesTheSizeWeightedMeanAndColoursStayWhereTheyWere)
{
    // In list order the sectors alternate narrow and four times as wide, white and black; the
    // second half of the ring is blue.
    constexpr int kFiles = 6000;
    QOXRing* ring = FlatRing(kFiles);
    ring->Relayout(); // which gives every element its view's colour
    const float narrow = 360.0f / (kFiles / 2 * 5.0f);
    float start = 0.0f;
    int i = 0;
    ring->Root->ForEachChild([&](QRElement* child) {
        const bool wide = i % 2 == 1;
        const float end = start + (wide ? 4.0f : 1.0f) * narrow;
        child->Place(child->Level, end, start);
        start = end;
        const QXColor grey = wide ? QXColor{0.0f, 0.0f, 0.0f} : QXColor{1.0f, 1.0f, 1.0f};
        child->Colour = i++ < kFiles / 2 ? grey : QXColor{0.0f, 0.0f, 1.0f};
    });
    ring->Root->WidestFileSector = 360.0f; // placed by hand: no promise about the files' widths
    ASSERT_GT(ThinElements(ring), kFiles - 10);
    Renderer->Labels = GLRingLabels::Plain;
    Draw(ring);
    // A fifth of a run's width is white (give or take the one sector a run may end on: 3 levels;
    // the plain mean would be half).
    const Rgba weighted = Stored({0.2f, 0.2f, 0.2f});
    for (const float angle : {40.0f, 90.0f, 140.0f})
        EXPECT_TRUE(Near(ColourAt(ring, 13.0f, angle), weighted, 4)) << angle;
    for (const float angle : {200.0f, 270.0f, 330.0f})
        EXPECT_TRUE(Near(ColourAt(ring, 13.0f, angle), Stored({0.0f, 0.0f, 1.0f}))) << angle;
}

} // namespace
