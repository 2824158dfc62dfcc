#include <gtest/gtest.h>

#include "ring/resource_iteration.h"
#include "ring/ring_main.h"
#include "tests/presentation/scene_fixture.h"

namespace {

constexpr float kHalfWidth = 320.0f;
constexpr float kStripY = 430.0f; // the strip's middle: 50 pixels above the bottom

} // namespace

class RingListTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        TheApp->Settings.DisplayShadow = false;
        TheApp->Settings.RingDisplayDuration = 0.0f;
        Host.Active = true;
        Host.Enabled = false; // "Display Rings" held: the strip shows at once
    }
    // Rings on `count` folders; all but the last end fully minimised.
    std::vector<QOXRing*> OpenRings(int count)
    {
        std::vector<QOXRing*> rings;
        for (int i = 0; i < count; ++i) {
            Tree.MakeFolder("f" + std::to_string(i));
            rings.push_back(Open("f" + std::to_string(i)));
        }
        SettleRings();
        return rings;
    }
    // The darkness of the hover title's box along its top edge, above the text.
    int TitleBoxShade() const { return ViewPixel(static_cast<int>(kHalfWidth), static_cast<int>(kStripY) - 79)[0]; }
};

TEST_F(RingListTest, MinimisedRingsSitNinetyPixelsApartCentredOnTheStrip)
{
    const std::vector<QOXRing*> rings = OpenRings(4);
    Frame();
    EXPECT_FLOAT_EQ(Scene->RingListFade, 1.0f);
    EXPECT_TRUE(Near(ViewPixel(2, static_cast<int>(kStripY)), kBackground));
    EXPECT_LT(ViewPixel(static_cast<int>(kHalfWidth) - 150, static_cast<int>(kStripY) + 30)[0], kBackground[0] - 10);
    const int plain = TitleBoxShade();
    // Three minimised rings at -90, 0 and 90: the pointer over each shows a title box; between
    // two of them it shows none.
    for (float x : {-90.0f, 0.0f, 90.0f}) {
        Host.Pointer = {kHalfWidth + x, kStripY};
        Frame();
        EXPECT_LT(TitleBoxShade(), plain - 10) << x;
    }
    Host.Pointer = {kHalfWidth + 45.0f, kStripY};
    Frame();
    EXPECT_EQ(TitleBoxShade(), plain);
    EXPECT_EQ(TheApp->CurrentRing, rings[3]);
}

TEST_F(RingListTest, ClicksAndDragsChooseTheRingUnderThePointer)
{
    const std::vector<QOXRing*> rings = OpenRings(3);
    Host.Pointer = {kHalfWidth - 45.0f, kStripY}; // the first of two minimised rings
    Host.LeftPressed = true;
    Frame();
    EXPECT_EQ(TheApp->CurrentRing, rings[0]);
    SettleRings();
    // A press while the cursor holds one does nothing; a right press asks for the ring menu.
    Host.Pointer = {kHalfWidth - 45.0f, kStripY};
    Host.Idle = false;
    Frame();
    EXPECT_EQ(TheApp->CurrentRing, rings[0]);
    Host.Idle = true;
    Host.LeftPressed = false;
    Host.RightPressed = true;
    Frame();
    EXPECT_EQ(Host.MenuRing, rings[1]);
    EXPECT_EQ(TheApp->CurrentRing, rings[0]);
    // A drag from another program over a ring's icon switches to it, though that program keeps
    // the focus; held still while the strip changes under it, it switches no more.
    Host.RightPressed = false;
    Host.Dragging = true;
    Host.Pointer = {kHalfWidth + 45.0f, kStripY};
    Host.Active = false;
    Frame();
    EXPECT_EQ(TheApp->CurrentRing, rings[2]);
    SettleRings();
    Frame();
    EXPECT_EQ(TheApp->CurrentRing, rings[2]);
    Host.Pointer = {kHalfWidth - 45.0f, kStripY};
    Frame();
    EXPECT_EQ(TheApp->CurrentRing, rings[0]);
}

TEST_F(RingListTest, StripFadesOutInAThirdOfASecondOnceDisplayRingsIsReleased)
{
    OpenRings(2);
    Frame();
    EXPECT_FLOAT_EQ(Scene->RingListFade, 1.0f);
    const int shown = ViewPixel(static_cast<int>(kHalfWidth) - 150, static_cast<int>(kStripY) + 30)[0];
    Host.Enabled = true;
    Frame(100);
    EXPECT_NEAR(Scene->RingListFade, 0.7f, 1e-4);
    const int fading = ViewPixel(static_cast<int>(kHalfWidth) - 150, static_cast<int>(kStripY) + 30)[0];
    EXPECT_GT(fading, shown);
    EXPECT_LT(fading, kBackground[0]);
    Frame(250);
    EXPECT_EQ(Scene->RingListFade, 0.0f);
    EXPECT_TRUE(Near(ViewPixel(static_cast<int>(kHalfWidth) - 150, static_cast<int>(kStripY) + 30), kBackground));
    // A drag from another program shows it at once, as the held key does.
    Host.Dragging = true;
    Frame();
    EXPECT_FLOAT_EQ(Scene->RingListFade, 1.0f);
    EXPECT_EQ(ViewPixel(static_cast<int>(kHalfWidth) - 150, static_cast<int>(kStripY) + 30)[0], shown);
}

TEST_F(RingListTest, ArrowsShowWhereRingsLieBeyondTheStripAndScrollIt)
{
    OpenRings(9); // eight minimised: -315 ... 315, the strip shows -120 ... 120
    const int leftArrowX = static_cast<int>(kHalfWidth - 160 + 20);
    const int rightArrowX = static_cast<int>(kHalfWidth + 160 - 20);
    Frame();
    const int box = ViewPixel(rightArrowX, static_cast<int>(kStripY) + 25)[0];
    EXPECT_GT(ViewPixel(rightArrowX, static_cast<int>(kStripY))[0], box + 40);
    EXPECT_GT(ViewPixel(leftArrowX, static_cast<int>(kStripY))[0], box + 40);

    // Pointing at the right arrow scrolls 80 pixels, eased, ending on its target.
    Host.Pointer = {static_cast<float>(rightArrowX), kStripY};
    Frame();
    EXPECT_TRUE(Scene->RingListAnimation->Running());
    Host.Pointer = {0.0f, 0.0f};
    Frame();
    EXPECT_GT(Scene->RingListScroll, 0.0f);
    EXPECT_LT(Scene->RingListScroll, 80.0f);
    for (int i = 0; i < 12; ++i)
        Frame();
    EXPECT_FLOAT_EQ(Scene->RingListScroll, 80.0f);

    // Held on the right arrow it scrolls on to the last ring and no further; then that arrow goes.
    Host.Pointer = {static_cast<float>(rightArrowX), kStripY};
    for (int i = 0; i < 60; ++i)
        Frame();
    EXPECT_FLOAT_EQ(Scene->RingListScroll, 315.0f);
    Host.Pointer = {0.0f, 0.0f};
    Frame();
    EXPECT_LT(ViewPixel(rightArrowX, static_cast<int>(kStripY))[0], box + 40);
    EXPECT_GT(ViewPixel(leftArrowX, static_cast<int>(kStripY))[0], box + 40);

    // And the left arrow brings it back.
    Host.Pointer = {static_cast<float>(leftArrowX), kStripY};
    for (int i = 0; i < 80; ++i)
        Frame();
    EXPECT_FLOAT_EQ(Scene->RingListScroll, -315.0f);
}
