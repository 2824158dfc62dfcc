#include "platform/input_events.h"

#include <linux/input-event-codes.h>

namespace platform {

namespace {

bool IsKey(int code)
{
    return code >= 0 && code < 256;
}

bool IsButton(int button)
{
    return button >= 0 && button < 4;
}

// Sets the state byte; a change counts as a press or a release until the next poll.
template <std::size_t Count>
void Change(std::uint8_t& state, InputEdges<Count>& edges, std::size_t index, bool down)
{
    if ((state != 0) == down)
        return;
    state = down ? kDown : 0;
    std::uint8_t& count = down ? edges.Presses[index] : edges.Releases[index];
    if (count < 255)
        ++count;
}

struct ExtendedKey {
    int Evdev;
    int ScanCode;
};

// Keys past the keypad, where the two numberings part (or meet again for three keys).
constexpr ExtendedKey kExtendedKeys[] = {
    {KEY_102ND, 0x56},    {KEY_F11, 0x57},      {KEY_F12, 0x58},
    {KEY_KPENTER, 0x9C}, {KEY_RIGHTCTRL, 0x9D}, {KEY_KPSLASH, 0xB5}, {KEY_SYSRQ, 0xB7},
    {KEY_RIGHTALT, 0xB8}, {KEY_PAUSE, 0xC5},    {KEY_HOME, 0xC7},    {KEY_UP, 0xC8},
    {KEY_PAGEUP, 0xC9},   {KEY_LEFT, 0xCB},     {KEY_RIGHT, 0xCD},   {KEY_END, 0xCF},
    {KEY_DOWN, 0xD0},     {KEY_PAGEDOWN, 0xD1}, {KEY_INSERT, 0xD2},  {KEY_DELETE, 0xD3},
    {KEY_LEFTMETA, 0xDB}, {KEY_RIGHTMETA, 0xDC}, {KEY_COMPOSE, 0xDD},
};

} // namespace

void EventInput::KeyDown(int code)
{
    if (IsKey(code))
        Change(Keys.Keys[static_cast<std::size_t>(code)], Keys.Edges, static_cast<std::size_t>(code), true);
}

void EventInput::KeyUp(int code)
{
    if (IsKey(code))
        Change(Keys.Keys[static_cast<std::size_t>(code)], Keys.Edges, static_cast<std::size_t>(code), false);
}

void EventInput::ButtonDown(int button)
{
    if (IsButton(button))
        Change(Buttons[static_cast<std::size_t>(button)], ButtonEdges, static_cast<std::size_t>(button), true);
}

void EventInput::ButtonUp(int button)
{
    if (IsButton(button))
        Change(Buttons[static_cast<std::size_t>(button)], ButtonEdges, static_cast<std::size_t>(button), false);
}

void EventInput::PointerAt(ScreenPoint position)
{
    if (PointerKnown) {
        MotionX += position.X - Position.X;
        MotionY += position.Y - Position.Y;
    }
    Position = position;
    PointerKnown = true;
}

void EventInput::WheelTurned(int angleDelta)
{
    // Fine-grained wheels and touch pads send parts of a notch; they count once they add up.
    WheelAngle += angleDelta;
    const int notches = WheelAngle / kWheelNotch;
    WheelAngle -= notches * kWheelNotch;
    WheelNotches += notches;
}

void EventInput::ReleaseAll()
{
    for (int code = 0; code < static_cast<int>(Keys.Keys.size()); ++code)
        KeyUp(code);
    for (int button = 0; button < static_cast<int>(Buttons.size()); ++button)
        ButtonUp(button);
}

bool EventInput::Poll(KeyboardState& state)
{
    state = Keys;
    Keys.Edges = {};
    return true;
}

bool EventInput::Peek(KeyboardState& state) const
{
    state = Keys;
    return true;
}

bool EventInput::Poll(MouseState& state)
{
    state.X = MotionX;
    state.Y = MotionY;
    state.Z = WheelNotches;
    state.Buttons = Buttons;
    state.ButtonEdges = ButtonEdges;
    ButtonEdges = {};
    MotionX = 0;
    MotionY = 0;
    WheelNotches = 0;
    return true;
}

int ScanCodeFromEvdev(int evdevCode)
{
    // The main block and the keypad (Esc to the keypad's dot) share their numbering.
    if (evdevCode >= KEY_ESC && evdevCode <= KEY_KPDOT)
        return evdevCode;
    for (const ExtendedKey& key : kExtendedKeys) {
        if (key.Evdev == evdevCode)
            return key.ScanCode;
    }
    return 0;
}

} // namespace platform
