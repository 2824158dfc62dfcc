#include "input/input_joystick.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/linux_joystick.h"
#include "tests/input/input_fixture.h"
#include "tests/support/joystick_pipe.h"

namespace {

class JoystickTest : public InputTest {
protected:
    // One stick on js0, at rest as the driver reports it when opened.
    void StartWithStick()
    {
        Stick = std::make_unique<JoystickPipe>(JoystickBase(), 0);
        Stick->Axis(0, 0, true);
        Stick->Axis(1, 0, true);
        Start(UseDevice::Yes);
        Play();
    }
    void Push(std::int16_t x, std::int16_t y)
    {
        Stick->Axis(0, x);
        Stick->Axis(1, y);
        Play();
    }
    std::vector<int> Directions() const
    {
        std::vector<int> down;
        for (int i = QIJoystick::Left; i <= QIJoystick::DownRight; ++i) {
            if (Joystick().ButtonDown(i))
                down.push_back(i);
        }
        return down;
    }
    QIJoystick& Joystick() const { return *Input->Joysticks[0]; }

    std::unique_ptr<JoystickPipe> Stick;
};

TEST_F(JoystickTest, AtRestBothAxesReadZero)
{
    StartWithStick();
    EXPECT_EQ(Input->LastJoystick, 0);
    EXPECT_EQ(Joystick().AxisX(), 0.0f);
    EXPECT_EQ(Joystick().AxisY(), 0.0f);
    EXPECT_TRUE(Directions().empty());
}

TEST_F(JoystickTest, FullDeflectionReadsOneAndItsDirections)
{
    StartWithStick();
    Push(JoystickPipe::kLow, JoystickPipe::kLow);
    EXPECT_FLOAT_EQ(Joystick().AxisX(), -1.0f);
    EXPECT_FLOAT_EQ(Joystick().AxisY(), -1.0f);
    EXPECT_EQ(Directions(), (std::vector<int>{QIJoystick::Left, QIJoystick::Up, QIJoystick::UpLeft}));
    Push(JoystickPipe::kHigh, JoystickPipe::kHigh);
    EXPECT_FLOAT_EQ(Joystick().AxisX(), 1.0f);
    EXPECT_FLOAT_EQ(Joystick().AxisY(), 1.0f);
    EXPECT_EQ(Directions(), (std::vector<int>{QIJoystick::Right, QIJoystick::Down, QIJoystick::DownRight}));
    Push(JoystickPipe::kHigh, JoystickPipe::kLow);
    EXPECT_EQ(Directions(), (std::vector<int>{QIJoystick::Right, QIJoystick::Up, QIJoystick::UpRight}));
}

TEST_F(JoystickTest, DeadZoneInversionRangeAndRounding)
{
    StartWithStick();
    // A fifth of the travel stays inside the dead zone; half of it is past it.
    Push(6553, -16383);
    EXPECT_EQ(Joystick().AxisX(), 0.0f);
    EXPECT_NEAR(Joystick().AxisY(), -0.375f, 1e-4);
    Joystick().InvertY = true;
    EXPECT_NEAR(Joystick().AxisY(), 0.375f, 1e-4);
    Joystick().RoundAxes = true;
    EXPECT_EQ(Joystick().AxisY(), 1.0f);
    EXPECT_EQ(Joystick().AxisX(), 0.0f);
    Push(JoystickPipe::kHigh, JoystickPipe::kHigh);
    EXPECT_EQ(Joystick().AxisX(), 1.0f);
    EXPECT_EQ(Joystick().AxisY(), -1.0f);
    Joystick().RoundAxes = false;
    Joystick().Range = 2.0f;
    EXPECT_FLOAT_EQ(Joystick().AxisX(), 2.0f);
}

TEST_F(JoystickTest, ButtonsAndDirectionsThroughCodes)
{
    StartWithStick();
    Input->AddButton("Fire", "Stick", 2003);
    Input->AddButton("Up Left", "Stick", 2036);
    Input->AddButton("Beyond", "Stick", 2040);
    Input->AddButton("Second Stick", "Stick", 2503);
    Stick->Button(3, true);
    Push(JoystickPipe::kLow, JoystickPipe::kLow);
    EXPECT_TRUE(Input->IsDown("Fire", "Stick"));
    EXPECT_TRUE(Input->IsDown("Up Left", "Stick"));
    EXPECT_FALSE(Input->IsDown("Beyond", "Stick"));
    EXPECT_FALSE(Input->IsDown("Second Stick", "Stick"));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QOX_Input: Undefined joystick button index!"});
    Stick->Button(3, false);
    Play();
    EXPECT_TRUE(Input->WasReleased("Fire", "Stick"));
}

TEST_F(JoystickTest, TwoSticksFillTwoSlots)
{
    JoystickPipe second(JoystickBase(), 2);
    StartWithStick();
    EXPECT_EQ(Input->LastJoystick, 1);
    Input->AddButton("Second Fire", "Stick", 2500);
    second.Button(0, true);
    Play();
    EXPECT_TRUE(Input->IsDown("Second Fire", "Stick"));
    EXPECT_TRUE(Input->Joysticks[1]->Initialized);
    EXPECT_FALSE(Input->Joysticks[2]->Initialized);
    const auto lines = LogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "QOX Input: Joystick ID:1 initialized!"), lines.end());
}

TEST_F(InputTest, WithoutJoysticksTheirCodesReadUpSilently)
{
    Start(UseDevice::Yes);
    Input->AddButton("Fire", "Stick", 2000);
    Input->AddButton("Beyond", "Stick", 3540);
    Play();
    EXPECT_FALSE(Input->IsDown("Fire", "Stick"));
    EXPECT_FALSE(Input->IsDown("Beyond", "Stick"));
    EXPECT_EQ(Input->LastJoystick, -1);
    EXPECT_EQ(Input->Joysticks[0]->AxisX(), 0.0f);
    EXPECT_TRUE(Desktop.Boxes.empty());
}

TEST(LinuxJoystickAxis, LinuxRangeMapsOntoTheDirectInputRange)
{
    EXPECT_EQ(platform::LinuxJoystick::AxisFromLinux(-32768), 0);
    EXPECT_EQ(platform::LinuxJoystick::AxisFromLinux(-32767), 0);
    EXPECT_EQ(platform::LinuxJoystick::AxisFromLinux(0), 32767);
    EXPECT_EQ(platform::LinuxJoystick::AxisFromLinux(32767), 65534);
}

} // namespace
