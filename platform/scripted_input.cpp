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

ScriptedInput::Frame& ScriptedInput::Frame::Add(Change kind, int code)
{
    Events.push_back({kind, code});
    return *this;
}

bool ScriptedInput::PlayFrame()
{
    if (Frames.empty())
        return false;
    const Frame frame = Frames.front();
    Frames.pop_front();
    for (const Frame::Event& event : frame.Events) {
        switch (event.Kind) {
        case Frame::Change::KeyDown:
            Events.KeyDown(event.Code);
            break;
        case Frame::Change::KeyUp:
            Events.KeyUp(event.Code);
            break;
        case Frame::Change::ButtonDown:
            Events.ButtonDown(event.Code);
            break;
        case Frame::Change::ButtonUp:
            Events.ButtonUp(event.Code);
            break;
        }
    }
    Pointer = {Pointer.X + frame.MoveX, Pointer.Y + frame.MoveY};
    Events.PointerAt(Pointer);
    Events.WheelTurned(frame.WheelNotches * EventInput::kWheelNotch);
    if (frame.FocusLost)
        Events.ReleaseAll();
    return true;
}

} // namespace platform
