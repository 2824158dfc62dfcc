#include "platform/linux_joystick.h"

#include <gtest/gtest.h>

#include "tests/support/joystick_pipe.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(LinuxJoysticks, NoDevicesNoJoysticks)
{
    TempFolder folder;
    platform::LinuxJoysticks sticks(folder.Path() + "js");
    EXPECT_EQ(sticks.Count(), 0);
    EXPECT_EQ(sticks.Get(0), nullptr);
    platform::LinuxJoysticks nowhere("/nonexistent/folder/js");
    EXPECT_EQ(nowhere.Count(), 0);
}

TEST(LinuxJoysticks, FoundSticksFillSlotsInOrderAndStay)
{
    TempFolder folder;
    JoystickPipe third(folder.Path() + "js", 2);
    platform::LinuxJoysticks sticks(folder.Path() + "js");
    EXPECT_EQ(sticks.Count(), 1);
    JoystickPipe first(folder.Path() + "js", 0);
    EXPECT_EQ(sticks.Count(), 2);
    EXPECT_EQ(sticks.Count(), 2);

    first.Button(5, true);
    third.Axis(0, JoystickPipe::kLow);
    platform::JoystickState state;
    ASSERT_TRUE(sticks.Get(0)->Poll(state));
    EXPECT_EQ(state.X, 0);
    EXPECT_EQ(state.Buttons[5], 0);
    ASSERT_TRUE(sticks.Get(1)->Poll(state));
    EXPECT_EQ(state.Buttons[5], platform::kDown);
    EXPECT_EQ(state.X, platform::kAxisCentre);
    EXPECT_EQ(sticks.Get(2), nullptr);
}

TEST(LinuxJoysticks, EventsAccumulateIntoTheState)
{
    TempFolder folder;
    JoystickPipe pipe(folder.Path() + "js", 0);
    platform::LinuxJoystick stick(folder.Path() + "js0");
    ASSERT_TRUE(stick.IsOpen());
    pipe.Axis(0, 0, true);
    pipe.Axis(1, 0, true);
    pipe.Button(31, true, true);
    pipe.Axis(1, JoystickPipe::kHigh);
    pipe.Axis(2, JoystickPipe::kLow);
    pipe.Button(32, true);
    platform::JoystickState state;
    ASSERT_TRUE(stick.Poll(state));
    EXPECT_EQ(state.X, platform::kAxisCentre);
    EXPECT_EQ(state.Y, 65534);
    EXPECT_EQ(state.Buttons[31], platform::kDown);
    pipe.Button(31, false);
    ASSERT_TRUE(stick.Poll(state));
    EXPECT_EQ(state.Buttons[31], 0);
    EXPECT_EQ(state.Y, 65534);
}

TEST(LinuxJoysticks, MissingDeviceCannotBePolled)
{
    platform::LinuxJoystick stick("/nonexistent/js0");
    platform::JoystickState state;
    state.X = 5;
    EXPECT_FALSE(stick.IsOpen());
    EXPECT_FALSE(stick.Poll(state));
    EXPECT_EQ(state.X, 5);
}

} // namespace
