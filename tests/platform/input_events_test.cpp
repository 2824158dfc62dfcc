#include "platform/input_events.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include "platform/scripted_input.h"

namespace {

using platform::EventInput;
using platform::ScanCodeFromEvdev;

TEST(EventInput, ScanCodesOfEvdevKeys)
{
    // The main block and the keypad keep their numbers; extended keys have their own.
    const std::pair<int, int> keys[] = {
        {KEY_TAB, 15},         {KEY_LEFTCTRL, 29},  {KEY_LEFTSHIFT, 42},       {KEY_LEFTALT, 56},
        {KEY_SPACE, 57},       {KEY_KPDOT, 0x53},   {KEY_F12, 0x58},           {KEY_RIGHTCTRL, 0x9D},
        {KEY_KPENTER, 0x9C},   {KEY_UP, 0xC8},      {KEY_DELETE, 0xD3},        {KEY_LEFTMETA, 0xDB},
        {KEY_ZENKAKUHANKAKU, 0}, {0, 0},            {KEY_MAX, 0},
    };
    for (const auto& [evdev, scanCode] : keys)
        EXPECT_EQ(ScanCodeFromEvdev(evdev), scanCode) << evdev;
}

TEST(EventInput, WheelCountsWholeNotchesAndKeepsTheRest)
{
    EventInput events;
    platform::MouseState state;
    events.WheelTurned(60);
    events.Poll(state);
    EXPECT_EQ(state.Z, 0);
    events.WheelTurned(60);
    events.WheelTurned(-360);
    events.Poll(state);
    EXPECT_EQ(state.Z, -2);
    events.WheelTurned(-50);
    events.WheelTurned(130);
    events.Poll(state);
    EXPECT_EQ(state.Z, 0);
    events.WheelTurned(40);
    events.Poll(state);
    EXPECT_EQ(state.Z, 1);
}

TEST(EventInput, MotionStartsAfreshWhenThePointerComesBack)
{
    EventInput events;
    platform::MouseState state;
    events.PointerAt({10, 10});
    events.PointerAt({15, 4});
    events.PointerLeft();
    events.PointerAt({500, 500});
    events.PointerAt({502, 501});
    events.Poll(state);
    EXPECT_EQ(state.X, 7);
    EXPECT_EQ(state.Y, -5);
    events.Poll(state);
    EXPECT_EQ(state.X, 0);
    EXPECT_EQ(events.Pointer().X, 502);
}

TEST(EventInput, CodesOutsideTheTablesAreIgnored)
{
    EventInput events;
    events.KeyDown(-1);
    events.KeyDown(256);
    events.ButtonDown(4);
    events.ButtonDown(-1);
    platform::KeyboardState keys;
    platform::MouseState mouse;
    events.Poll(keys);
    events.Poll(mouse);
    EXPECT_EQ(keys.Keys, platform::KeyboardState().Keys);
    EXPECT_EQ(mouse.Buttons, platform::MouseState().Buttons);
}

TEST(ScriptedInput, PlaysQueuedFramesInOrderThenStops)
{
    platform::ScriptedInput script;
    script.Queue(platform::ScriptedInput::Frame().Press(30).Move(3, 4));
    script.Queue(platform::ScriptedInput::Frame().Release(30).Turn(-1));
    platform::KeyboardState keys;
    platform::MouseState mouse;
    ASSERT_TRUE(script.PlayFrame());
    script.Keyboard()->Poll(keys);
    script.Mouse()->Poll(mouse);
    EXPECT_EQ(keys.Keys[30], platform::kDown);
    EXPECT_EQ(mouse.X, 3);
    ASSERT_TRUE(script.PlayFrame());
    script.Keyboard()->Poll(keys);
    script.Mouse()->Poll(mouse);
    EXPECT_EQ(keys.Keys[30], 0);
    EXPECT_EQ(mouse.Z, -1);
    EXPECT_FALSE(script.PlayFrame());
}

} // namespace
