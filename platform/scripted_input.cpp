#include "platform/scripted_input.h"

namespace platform {

ScriptedInput::ScriptedInput(std::string joystickBasePath) : Sticks(std::move(joystickBasePath))
{
    Events.PointerAt(Pointer);
}

ScriptedInput::Frame& ScriptedInput::Frame::Move(int x, int y)
{
    MoveX += x;
    MoveY += y;
    return *this;
}

ScriptedInput::Frame& ScriptedInput::Frame::Turn(int notches)
{
    WheelNotches += notches;
    return *this;
}

ScriptedInput::Frame& ScriptedInput::Frame::LoseFocus()
{
    FocusLost = true;
    return *this;
}

ScriptedInput::Frame& ScriptedInput::Frame::Add(std::vector<int>& list, int value)
{
    list.push_back(value);
    return *this;
}

bool ScriptedInput::PlayFrame()
{
    if (Frames.empty())
        return false;
    const Frame frame = Frames.front();
    Frames.pop_front();
    for (int code : frame.KeysDown)
        Events.KeyDown(code);
    for (int code : frame.KeysUp)
        Events.KeyUp(code);
    for (int button : frame.ButtonsDown)
        Events.ButtonDown(button);
    for (int button : frame.ButtonsUp)
        Events.ButtonUp(button);
    Pointer = {Pointer.X + frame.MoveX, Pointer.Y + frame.MoveY};
    Events.PointerAt(Pointer);
    Events.WheelTurned(frame.WheelNotches * EventInput::kWheelNotch);
    if (frame.FocusLost)
        Events.ReleaseAll();
    return true;
}

} // namespace platform
