#include "input/input_mouse.h"

#include <gtest/gtest.h>

#include "tests/input/input_fixture.h"

namespace {

TEST_F(InputTest, MotionIsSummedPerFrameAndScaledToTheView)
{
    Start();
    QIMouse& mouse = *Input->Mouse;
    EXPECT_EQ(mouse.ClientWidth, 640);
    EXPECT_EQ(mouse.CursorX(), 300);
    EXPECT_EQ(mouse.CursorY(), 250);
    Script.Queue(Frame().Move(20, -5));
    Script.Queue(Frame().Move(10, -7));
    Script.PlayFrame();
    Script.PlayFrame();
    Input->Update();
    EXPECT_EQ(mouse.RawX(), 30);
    EXPECT_EQ(mouse.RawY(), -12);
    EXPECT_FLOAT_EQ(mouse.DeltaX(), 30.0f);
    EXPECT_EQ(mouse.CursorX(), 330);
    Input->SetMouseReference(320.0f, 960.0f);
    EXPECT_FLOAT_EQ(mouse.DeltaX(), 60.0f);
    EXPECT_FLOAT_EQ(mouse.DeltaY(), -6.0f);
    Play();
    EXPECT_EQ(mouse.RawX(), 0);
    EXPECT_FLOAT_EQ(mouse.DeltaY(), 0.0f);
}

TEST_F(InputTest, ZeroReferenceGivesNoMotion)
{
    Start();
    Input->SetMouseReference(0.0f, 0.0f);
    Play(Frame().Move(5, 5));
    EXPECT_EQ(Input->Mouse->RawX(), 5);
    EXPECT_EQ(Input->Mouse->DeltaX(), 0.0f);
    EXPECT_EQ(Input->Mouse->DeltaY(), 0.0f);
}

TEST_F(InputTest, MouseAreaFollowsTheViewOnlyWhenTheMouseIsUsed)
{
    Input->Init(&Script, UseDevice::Yes, UseDevice::No, UseDevice::No);
    Script.AreaOrigin = {0, 0};
    Input->SetMouseArea(&Script);
    EXPECT_EQ(Input->Mouse->OriginX, 100);
    Input->Mouse->SetArea(&Script);
    EXPECT_EQ(Input->Mouse->OriginX, 0);
    Input->Mouse->SetArea(nullptr);
    EXPECT_EQ(Input->Mouse->OriginX, 0);
}

TEST_F(InputTest, MouseButtonIndicesBeyondTheWheelAreReported)
{
    Start();
    Input->AddButton("Extra", "Test", 1003);
    Input->AddButton("Unused", "Test", 1004);
    Input->AddButton("Beyond", "Test", 1040);
    Play(Frame().PressButton(3));
    EXPECT_TRUE(Input->IsDown("Extra", "Test"));
    EXPECT_FALSE(Input->IsDown("Unused", "Test"));
    EXPECT_FALSE(Input->IsDown("Beyond", "Test"));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QOX_Input: Undefined mouse button index!"});
    EXPECT_FALSE(Input->Mouse->ButtonDown(32));
    EXPECT_FALSE(Input->Mouse->ButtonDown(-1));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QOX_Input: Undefined mouse button index!"});
}

TEST_F(InputTest, MouseNotSetUpReadsUpSilently)
{
    Input->Init(&Script, UseDevice::Yes, UseDevice::No, UseDevice::No);
    Input->AddButton("Beyond", "Test", 1040);
    Play(Frame().PressButton(0).Move(4, 0).Turn(1));
    EXPECT_FALSE(Input->IsDown("Beyond", "Test"));
    EXPECT_FALSE(Input->Mouse->ButtonDown(0));
    EXPECT_FALSE(Input->Mouse->ButtonDown(QIMouse::kWheelAway));
    EXPECT_EQ(Input->Mouse->RawX(), 0);
    EXPECT_TRUE(Desktop.Boxes.empty());
}

} // namespace
