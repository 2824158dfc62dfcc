#pragma once
// The input devices as the input layer sees them, in DirectInput's terms: a 256-entry key table
// by scan code, relative mouse motion with a wheel and four buttons, joysticks with axes from 0 to
// 65535 (centre 32767) and 32 buttons. A state byte is down when its top bit is set. Keys and mouse
// buttons also count how often they went down and came up since the last poll, so that a tap
// between two polls is not lost.
#include <array>
#include <cstdint>

namespace platform {

inline constexpr std::uint8_t kDown = 0x80;
inline constexpr std::int32_t kAxisCentre = 32767;
inline constexpr std::int32_t kAxisMax = 65535;

// How often each of a device's inputs went down and came up since the last poll (at most 255).
template <std::size_t Count>
struct InputEdges {
    std::array<std::uint8_t, Count> Presses{};
    std::array<std::uint8_t, Count> Releases{};
};

struct KeyboardState {
    std::array<std::uint8_t, 256> Keys{};
    InputEdges<256> Edges;
};

struct MouseState {
    std::int32_t X = 0; // motion since the last poll, view pixels
    std::int32_t Y = 0;
    std::int32_t Z = 0; // wheel notches since the last poll; away from the user is positive
    std::array<std::uint8_t, 4> Buttons{}; // left, right, middle, first extra button
    InputEdges<4> ButtonEdges;
};

struct JoystickState {
    std::int32_t X = kAxisCentre;
    std::int32_t Y = kAxisCentre;
    std::array<std::uint8_t, 32> Buttons{};
};

struct ScreenPoint {
    int X = 0;
    int Y = 0;
};

// Each Poll fills the state, starts counting edges afresh and returns true; a device that cannot be
// read returns false and the state keeps what it had. Peek gives the state of this moment (after
// the events seen so far) and leaves the next poll as it would have been.
class KeyboardDevice {
public:
    virtual ~KeyboardDevice() = default;
    virtual bool Poll(KeyboardState& state) = 0;
    virtual bool Peek(KeyboardState& state) const = 0;
};

class MouseDevice {
public:
    virtual ~MouseDevice() = default;
    virtual bool Poll(MouseState& state) = 0;
    // The buttons held at this moment.
    virtual std::array<std::uint8_t, 4> HeldButtons() const = 0;
    // The pointer's position on the screen.
    virtual ScreenPoint Pointer() const = 0;
};

class JoystickDevice {
public:
    virtual ~JoystickDevice() = default;
    virtual bool Poll(JoystickState& state) = 0;
};

// The attached joysticks, at most four. A slot once filled stays filled.
class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual int Count() = 0;
    virtual JoystickDevice* Get(int index) = 0; // not owned; none beyond Count
};

// The view the mouse is bound to: its client area's position on the screen and its size.
class ViewArea {
public:
    virtual ~ViewArea() = default;
    virtual ScreenPoint Origin() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// Everything the input module needs of the system. Devices are owned by the system.
class InputSystem {
public:
    virtual ~InputSystem() = default;
    // False when input cannot be had at all.
    virtual bool Start() = 0;
    virtual KeyboardDevice* Keyboard() = 0;
    virtual MouseDevice* Mouse() = 0;
    virtual JoystickSource* Joysticks() = 0; // none when the system has no joystick support
    virtual const ViewArea* Area() const = 0;
};

} // namespace platform
