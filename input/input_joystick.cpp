#include "input/input_joystick.h"

#include <cmath>

#include "engine/qox_console.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"

QIJoystick::QIJoystick(QOXObject* parent) : QOXObject(parent, "QOX Input Joystick") {}

void QIJoystick::Setup(int index, platform::JoystickDevice* device)
{
    if (device == nullptr)
        return;
    Initialized = true;
    Index = index;
    Device = device;
    Engine()->Console->AddLine("QOX Input: Joystick ID:" + QOXConvert::IntToStr(index) + " initialized!");
}

void QIJoystick::Poll()
{
    if (Initialized)
        Device->Poll(State);
}

float QIJoystick::Axis(int raw, bool invert) const
{
    // The travel beyond the dead zone, so that the axis leaves 0 smoothly and ends at +-Range.
    float v = (Range + DeadZone) / static_cast<float>(platform::kAxisCentre) *
              static_cast<float>(raw - platform::kAxisCentre);
    if (std::fabs(v) < DeadZone)
        return 0.0f;
    v = v >= 0.0f ? v - DeadZone : v + DeadZone;
    if (invert)
        v = -v;
    // Rounded away from zero, so that any push past the dead zone reads as a whole step.
    if (RoundAxes)
        v = std::copysign(std::ceil(std::fabs(v)), v);
    return v;
}

bool QIJoystick::ButtonDown(int index) const
{
    if (!Initialized)
        return false;
    if (index >= 0 && index < Left)
        return (State.Buttons[static_cast<std::size_t>(index)] & platform::kDown) != 0;
    if (index >= Left && index <= DownRight)
        return DirectionDown(index);
    Engine()->Error("QOX_Input", "Undefined joystick button index!");
    return false;
}

bool QIJoystick::DirectionDown(int index) const
{
    const bool left = AxisX() < -Threshold;
    const bool right = AxisX() > Threshold;
    const bool up = AxisY() < -Threshold;
    const bool down = AxisY() > Threshold;
    switch (index) {
    case Left:
        return left;
    case Right:
        return right;
    case Up:
        return up;
    case Down:
        return down;
    case UpLeft:
        return up && left;
    case UpRight:
        return up && right;
    case DownLeft:
        return down && left;
    default:
        return down && right;
    }
}
