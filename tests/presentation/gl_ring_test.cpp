#include "presentation/gl_ring.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "app/app_keyboard.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "resources/resource_font.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_displaylist.h"
#include "resources/resource_texture.h"
#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/support/app_fixture.h"
#include "tests/support/ring_gl_fixture.h"

namespace {

// The middle of the band of layer 2 (inner radius 7, width 12), clear of the labels.
constexpr float kFileBand = 13.0f;
constexpr float kRootBand = 5.0f;
constexpr QXColor kColours[4] = {{0.8f, 0.2f, 0.2f}, {0.2f, 0.8f, 0.2f}, {0.4f, 0.6f, 0.8f}, {0.6f, 0.4f, 0.2f}};

class GLRingTest : public RingGLTest {
protected:
    // Four files of unset size: a quarter of the circle each, in list order from the top.
    QOXRing* FourFiles()
    {
        for (const char* name : {"a", "b", "c", "d"})
            Tree.File(name, 1);
        QOXRing* ring = Open();
        int i = 0;
        ring->Root->ForEachChild([&](QRElement* child) { child->Colour = kColours[i++]; });
        return ring;
    }
    QRElement* File(QOXRing* ring, const char* name) { return ChildNamed(*ring->Root, name); }
    // The child of the top folder in list order: quarter i of the circle.
    static QRElement* Quarter(QOXRing* ring, int i) { return ChildAt(ring->Root, i); }
    static QRElement* ChildAt(const QREFolder* folder, int i)
    {
        QRElement* found = nullptr;
        int k = 0;
        folder->ForEachChild([&](QRElement* child) { found = k++ == i ? child : found; });
        return found;
    }

    RecordingWindow Window;
    // A point well inside the element's band, clear of its label.
    Rgba Inside(QOXRing* ring, const QRElement* element)
    {
        const float inner = ring->InnerRadius(element->Level);
        const float middle = (inner + ring->InnerRadius(element->Level + 1)) / 2.0f + 1.5f;
        return ColourAt(ring, middle, element->StartAngle + 0.3f * (element->EndAngle - element->StartAngle));
    }
};

TEST(GLRingSegments, AboutOnePerTwentyDegreesPerLevelWithHalvesToEven)
{
    EXPECT_EQ(GLRing::SegmentCount(1, 360.0f), 18);
    EXPECT_EQ(GLRing::SegmentCount(2, 90.0f), 9);
    EXPECT_EQ(GLRing::SegmentCount(2, 85.0f), 8);
    EXPECT_EQ(GLRing::SegmentCount(2, 95.0f), 10);
    EXPECT_EQ(GLRing::SegmentCount(3, 0.0f), 1);
    EXPECT_EQ(GLRing::IconSegmentCount(1, 360.0f), 9);
    EXPECT_EQ(GLRing::IconSegmentCount(2, 10.0f), 1);
}

TEST_F(GLRingTest, InitLoadsTheFourPicturesUncompressedAndClamped)
{
    EXPECT_FALSE(Device->TextureEngine->UseCompression);
    for (const QRTexture* texture :
         {Renderer->ElementTexture, Renderer->RootTexture, Renderer->PickedTexture, Renderer->SelectedTexture}) {
        ASSERT_NE(texture, nullptr);
        EXPECT_NE(texture->GLName, 0u);
        EXPECT_TRUE(texture->ClampS && texture->ClampT);
    }
    const auto lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "QOX GL: Ring Rendering Class initialized!"), lines.end());
}

TEST_F(GLRingTest, SectorsRunClockwiseFromTheTopInTheirColours)
{
    QOXRing* ring = FourFiles();
    ring->Root->Colour = {0.1f, 0.3f, 0.5f};
    Draw(ring);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 45.0f + 90.0f * i), Stored(kColours[i]))) << i;
    EXPECT_TRUE(Near(ColourAt(ring, kRootBand, 200.0f), Stored(ring->Root->Colour)));
    // The first quarter lies right of the top: on screen x grows and y (upwards) is above the centre.
    const auto centre = WindowPoint(ring, 0.0f, 0.0f);
    const auto first = WindowPoint(ring, kFileBand, 45.0f);
    EXPECT_GT(first[0], centre[0] + 20);
    EXPECT_GT(first[1], centre[1] + 20);
    EXPECT_TRUE(Near(ColourAt(ring, 1.0f, 0.0f), {255, 255, 255, 255})) << "the centre stays empty";
    EXPECT_TRUE(Near(ColourAt(ring, 21.0f, 0.0f), {255, 255, 255, 255})) << "nothing beyond the last layer";
}

TEST_F(GLRingTest, HoverDarkensSelectionBrightensAndBothTogetherGiveSeventySevenHundredths)
{
    QOXRing* ring = FourFiles();
    QRElement* b = Quarter(ring, 1);
    QRElement* c = Quarter(ring, 2);
    QRElement* d = Quarter(ring, 3);
    b->Colour = c->Colour = d->Colour = {0.4f, 0.6f, 0.6f};
    Renderer->HoverElement = b;
    c->Selected = true;
    Draw(ring);
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 135.0f), Stored({0.28f, 0.42f, 0.42f})));
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 225.0f), Stored({0.6f, 0.9f, 0.9f})));
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 315.0f), Stored(d->Colour)));

    b->Selected = true;
    Draw(ring);
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 135.0f), Stored({0.308f, 0.462f, 0.462f})));

    Cursor->MenuOpen = true;
    Draw(ring);
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 135.0f), Stored({0.6f, 0.9f, 0.9f}))) << "no hover under a menu";
}

TEST_F(GLRingTest, TheKeyboardsElementAndTheFindMatchesAreOutlinedOverTheirOwnColours)
{
    QOXRing* ring = FourFiles();
    QAKeyboard* keys = QOXNew<QAKeyboard>(TheApp.get(), Cursor);
    Renderer->Keys = keys;
    keys->MoveTo(Quarter(ring, 1));
    ASSERT_EQ(keys->Find(std::string(Quarter(ring, 2)->Name)), 1);
    const float edge = ring->InnerRadius(3) + GLRing::kBandOverlap;
    const auto outlineOf = [&](int quarter) { return ColourAt(ring, edge, 90.0f * static_cast<float>(quarter) + 45.0f); };
    Draw(ring);
    EXPECT_TRUE(Near(outlineOf(1), Stored(GLRing::kMarkColour)));
    EXPECT_TRUE(Near(outlineOf(2), Stored(GLRing::kMatchColour)));
    EXPECT_TRUE(Near(Inside(ring, Quarter(ring, 1)), Stored(kColours[1]))) << "the band keeps its colour";
    for (int quarter : {0, 3}) {
        EXPECT_FALSE(Near(outlineOf(quarter), Stored(GLRing::kMarkColour))) << quarter;
        EXPECT_FALSE(Near(outlineOf(quarter), Stored(GLRing::kMatchColour))) << quarter;
    }

    Cursor->SetCurrent(Quarter(ring, 3)); // a press elsewhere
    keys->EndFind();
    Draw(ring);
    for (int quarter : {1, 2, 3})
        EXPECT_FALSE(Near(outlineOf(quarter), Stored(GLRing::kMarkColour)) || Near(outlineOf(quarter), Stored(GLRing::kMatchColour)))
            << quarter;
}

TEST_F(GLRingTest, ARangeDragShowsItsElementsSelectedOrInvertedInItsFolderOnly)
{
    Tree.File("sub/inner", 1);
    for (const char* name : {"a", "b", "c"})
        Tree.File(name, 1);
    QOXRing* ring = Open();
    auto* sub = static_cast<QREFolder*>(File(ring, "sub/"));
    sub->Expand();
    ring->Relayout();
    QRElement* inner = ChildNamed(*sub, "inner");
    QRElement* a = Quarter(ring, 1);
    QRElement* b = Quarter(ring, 2);
    QRElement* c = Quarter(ring, 3);
    const QXColor plain{0.4f, 0.4f, 0.4f};
    const Rgba selected = Stored({0.6f, 0.6f, 0.6f});
    for (QRElement* element : {static_cast<QRElement*>(sub), inner, a, b, c})
        element->Colour = plain;
    a->Selected = true;
    b->Selected = true;
    inner->Selected = true;
    // A left drag from b to c in progress.
    Cursor->Button = QAMouseButton::Left;
    Cursor->Dragging = true;
    Cursor->AnchorElement = b;
    Cursor->CurrentElement = c;
    const auto colourOf = [&](const QRElement* element) { return Inside(ring, element); };

    Draw(ring);
    EXPECT_TRUE(Near(colourOf(a), selected)) << "outside the range: its own state";
    EXPECT_TRUE(Near(colourOf(b), selected));
    EXPECT_TRUE(Near(colourOf(c), selected)) << "inside the range: shown selected";
    EXPECT_TRUE(Near(colourOf(inner), selected)) << "another folder keeps its own state";

    Cursor->InvertDown = true;
    Draw(ring);
    EXPECT_TRUE(Near(colourOf(a), selected));
    EXPECT_TRUE(Near(colourOf(b), Stored(plain))) << "a selected element in the range shows unselected";
    EXPECT_TRUE(Near(colourOf(c), selected)) << "an unselected one shows selected";
    EXPECT_TRUE(Near(colourOf(inner), selected));

    Cursor->Dragging = false;
    Draw(ring);
    EXPECT_TRUE(Near(colourOf(b), selected));
    EXPECT_TRUE(Near(colourOf(c), Stored(plain)));
}

TEST_F(GLRingTest, LabelsRunOutwardsInTheirTintOverADarkDropShadow)
{
    QOXRing* ring = FourFiles();
    Device->System2D->Fonts->FindFont("Default")->SetNegative(1); // as the application sets it
    ring->Root->ForEachChild([](QRElement* child) {
        child->Colour = {0.5f, 0.5f, 0.5f};
        child->Label.clear();
    });
    ring->Root->Colour = {0.5f, 0.5f, 0.5f};
    ring->Root->Label.clear();
    QRElement* labelled = Quarter(ring, 1);
    const auto count = [&](const Rgba& colour) {
        const auto pixels = Picture();
        int found = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            found += Close(&pixels[i], colour, 3) ? 1 : 0;
        return found;
    };
    const Rgba labelOnly{255, 128, 128, 255};
    const Rgba shadowOnly{0, 0, 0, 255};
    const Rgba labelOverShadow{255, 0, 0, 255};
    Draw(ring);
    EXPECT_EQ(count(labelOnly) + count(shadowOnly) + count(labelOverShadow), 0);

    labelled->Label = "abcdefgh";
    labelled->Tint = {1.0f, 0.0f, 0.0f};
    labelled->Scale = 1.0f;
    Draw(ring);
    EXPECT_GT(count(labelOverShadow), 100);
    EXPECT_GT(count(shadowOnly), 5);
    EXPECT_GT(count(labelOnly), 5);
    // The text starts 0.9 outside the band's inner edge and runs outwards along the middle angle.
    const float inner = ring->InnerRadius(labelled->Level);
    EXPECT_TRUE(Near(ColourAt(ring, inner + 0.5f, labelled->MidAngle()), Stored(labelled->Colour)));
    EXPECT_TRUE(Near(ColourAt(ring, inner + 2.5f, labelled->MidAngle()), labelOverShadow, 3));
}

TEST_F(GLRingTest, AFileTypePictureColoursTheFileBandOnTheSecondUnit)
{
    QOXRing* ring = FourFiles();
    QRElement* b = Quarter(ring, 1);
    b->Colour = {1.0f, 1.0f, 1.0f};
    GiveTypePicture(b, "red", {255, 0, 0});
    Draw(ring);
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 135.0f), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(ColourAt(ring, 8.0f + 10.0f, 135.0f), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(ColourAt(ring, kFileBand, 225.0f), Stored(kColours[2]))) << "the next file has no picture";
}

TEST_F(GLRingTest, ACollapsedFoldersChildrenAreNeitherDrawnNorPicked)
{
    Tree.File("sub/x", 1);
    Tree.File("sub/y", 1);
    QOXRing* ring = Open();
    auto* sub = static_cast<QREFolder*>(File(ring, "sub/"));
    sub->Expand();
    ring->Relayout();
    QRElement* x = ChildNamed(*sub, "x");
    ASSERT_EQ(x->Level, 3);
    x->Colour = {0.1f, 0.9f, 0.1f};
    const float radius = ring->InnerRadius(3) + 2.0f;
    const auto point = WindowPoint(ring, radius, x->MidAngle());
    const float pointerY = static_cast<float>(kHeight - point[1]) - 0.5f;
    Draw(ring);
    EXPECT_TRUE(Near(ReadPixel(point[0], point[1]), Stored(x->Colour)));
    EXPECT_EQ(Renderer->Pick(ring, point[0] + 0.5f, pointerY), x);

    sub->Expanded = false; // the children keep their levels and sectors
    Draw(ring);
    EXPECT_TRUE(Near(ReadPixel(point[0], point[1]), {255, 255, 255, 255}));
    EXPECT_EQ(Renderer->Pick(ring, point[0] + 0.5f, pointerY), nullptr);
}

TEST_F(GLRingTest, MinimisingShrinksTheRingToNothingByHalfway)
{
    QOXRing* ring = FourFiles();
    const auto half = WindowPoint(ring, kFileBand / 2.0f, 45.0f);
    Draw(ring);
    EXPECT_TRUE(Near(ReadPixel(half[0], half[1]), Stored(ring->Root->Colour)));

    QRIteration* minimize = ring->MinimizeAnimation;
    minimize->MoveDirection = QRIteration::Forwards;
    minimize->From = minimize->To = 0.25f; // scale 1 - 2 x 0.25
    Draw(ring);
    EXPECT_TRUE(Near(ReadPixel(half[0], half[1]), Stored(kColours[0])));

    minimize->From = minimize->To = 0.5f;
    Draw(ring);
    const auto centre = WindowPoint(ring, 0.0f, 0.0f);
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            EXPECT_TRUE(Near(ReadPixel(centre[0] + dx, centre[1] + dy), {255, 255, 255, 255}));
    EXPECT_EQ(Renderer->Pick(ring, static_cast<float>(centre[0]), static_cast<float>(kHeight - centre[1])), nullptr);
}

TEST_F(GLRingTest, TheShadowIsAWhiteSilhouetteSeenFromFurtherAway)
{
    QOXRing* ring = FourFiles();
    for (QRElement* element : {File(ring, "a"), File(ring, "b")})
        element->Colour = {0.0f, 0.0f, 0.0f};
    ClearTo(0.0f, 0.0f, 0.0f);
    Renderer->DrawShadow(ring);
    const auto white = Rgba{255, 255, 255, 255};
    const auto black = Rgba{0, 0, 0, 255};
    for (float angle : {45.0f, 135.0f, 300.0f}) {
        const auto band = WindowPoint(ring, kFileBand, angle, GLRingPass::Shadow);
        EXPECT_TRUE(Near(ReadPixel(band[0], band[1]), white)) << angle;
        const auto outside = WindowPoint(ring, 21.0f, angle, GLRingPass::Shadow);
        EXPECT_TRUE(Near(ReadPixel(outside[0], outside[1]), black)) << angle;
    }
    const auto hole = WindowPoint(ring, 1.0f, 0.0f, GLRingPass::Shadow);
    EXPECT_TRUE(Near(ReadPixel(hole[0], hole[1]), black));
    // The wider view of the shadow pass: the band's outer edge lands nearer the centre.
    const auto edgeShadow = WindowPoint(ring, 19.0f, 90.0f, GLRingPass::Shadow);
    const auto edgeNormal = WindowPoint(ring, 19.0f, 90.0f);
    EXPECT_LT(edgeShadow[0], edgeNormal[0] - 20);
}

TEST_F(GLRingTest, TheMiniatureIsCompiledOnlyWhenTheRingMarksIt)
{
    QOXRing* ring = FourFiles();
    QRElement* b = Quarter(ring, 1);
    b->Selected = true;
    Renderer->HoverElement = b;
    // The caller's transform: 10 pixels per unit round the view's centre.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kWidth / 20.0, kWidth / 20.0, -kHeight / 20.0, kHeight / 20.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Depth 2 scales by 3 / 2: the files' band spans radii 10.5 to 28.6; up and right is angle 135,
    // the second quarter (the miniature is not mirrored).
    const int x = kWidth / 2 + 100;
    const int y = kHeight / 2 + 100;
    const auto drawIcon = [&] {
        ClearTo(1.0f, 1.0f, 1.0f);
        Renderer->DrawIcon(ring);
    };
    ASSERT_TRUE(ring->DisplayListStale);
    drawIcon();
    EXPECT_FALSE(ring->DisplayListStale);
    const unsigned list = ring->DisplayList->ListId;
    EXPECT_NE(list, 0u);
    const Rgba first = ReadPixel(x, y);
    EXPECT_TRUE(Near(first, Stored(kColours[1]))) << "plain colours only";

    b->Colour = {0.0f, 0.0f, 1.0f};
    drawIcon();
    EXPECT_EQ(ReadPixel(x, y), first) << "replayed, not rebuilt";
    EXPECT_EQ(ring->DisplayList->ListId, list);

    ring->DisplayListStale = true;
    drawIcon();
    EXPECT_TRUE(Near(ReadPixel(x, y), {0, 0, 255, 255}));
    GLint matrixDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &matrixDepth);
    EXPECT_EQ(matrixDepth, 1) << "the caller's matrix is left as it was";
}

// After an expand or a collapse a size-true ring zooms, animated, until its outermost band fits the
// view, and stays in its middle; with "FitRingToWindow" off, or as designed, the zoom stays the
// user's and the ring moves towards the folder opened.
TEST_F(GLRingTest, AnExpandOrCollapseFitsTheRingToTheViewWhenAsked)
{
    const struct {
        const char* Name;
        bool SizeTrue;
        bool Fit;
    } cases[] = {{"size true", true, true}, {"size true, not fitted", true, false}, {"as designed", false, true}};
    UseManualClock(1'000'000);
    Tree.File("top.txt", 100);
    Tree.File("a/b/c/d/e/f/g/deep.txt", 100);
    Window.Size = {kWidth, kHeight};
    TheApp->Window = &Window;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.Name);
        TheApp->Settings.SizeTrueRings = row.SizeTrue;
        TheApp->Settings.FitRingToWindow = row.Fit;
        const bool fits = row.SizeTrue && row.Fit;
        QOXRing* ring = Open();
        auto* folder = static_cast<QREFolder*>(File(ring, "a/"));
        const auto toggle = [&](bool all) {
            Cursor->SetCurrent(folder);
            Cursor->ToggleCurrent();
            if (all)
                folder->ExpandAll();
            ring->Relayout();
            for (int frame = 0; frame < 60; ++frame) {
                EngineFrame(50);
                TheApp->UpdateRings(0.05f);
            }
        };
        // How far the outermost band reaches from the middle of the view, and whether all of it is in.
        const auto reach = [&](bool& inside) {
            const float outer = ring->InnerRadius(ring->MaxDepth() + 1);
            double farthest = 0.0;
            inside = true;
            for (float degrees = 0.0f; degrees < 360.0f; degrees += 15.0f) {
                const auto point = WindowPoint(ring, outer, degrees);
                inside = inside && point[0] >= 0 && point[0] < kWidth && point[1] >= 0 && point[1] < kHeight;
                farthest = std::max(farthest, std::hypot(point[0] - kWidth / 2.0, point[1] - kHeight / 2.0));
            }
            return farthest;
        };
        bool inside = false;
        toggle(true);
        const double expanded = reach(inside);
        EXPECT_EQ(inside, fits) << expanded;
        if (fits) {
            EXPECT_GT(expanded, 0.3 * kHeight) << "the ring fills the view";
            EXPECT_EQ(ring->Position, (QXVector{0.0f, 0.0f, 0.0f}));
        } else {
            EXPECT_FLOAT_EQ(ring->Zoom, 1.0f);
            EXPECT_NE(ring->Position, (QXVector{0.0f, 0.0f, 0.0f})) << "moved towards the folder";
        }
        const float expandedZoom = ring->Zoom;
        toggle(false);
        const double collapsed = reach(inside);
        EXPECT_TRUE(inside);
        if (fits) {
            EXPECT_GT(ring->Zoom, expandedZoom) << "zoomed in again";
            EXPECT_GT(collapsed, 0.3 * kHeight);
        } else {
            EXPECT_FLOAT_EQ(ring->Zoom, 1.0f);
        }
        TheApp->CloseRing(ring);
    }
    TheApp->Window = nullptr;
}

} // namespace
