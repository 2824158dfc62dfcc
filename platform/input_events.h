#pragma once
// Keyboard and mouse states built from window events: keys by DirectInput scan code, pointer
// motion summed between polls, wheel turns counted in notches of 120 units, and every key and
// button going down or up counted until the next poll.
#include "platform/input_devices.h"

namespace platform {

class EventInput : public KeyboardDevice, public MouseDevice {
public:
    static constexpr int kWheelNotch = 120;

    // Codes outside 0..255 are ignored; a key already down (auto-repeat) is not pressed again.
    void KeyDown(int code);
    void KeyUp(int code);
    void ButtonDown(int button); // 0 left, 1 right, 2 middle, 3 first extra; others ignored
    void ButtonUp(int button);
    // The pointer is at this screen position; the step from the last known one is motion.
    void PointerAt(ScreenPoint position);
    // The pointer left the view: the next position starts afresh instead of counting as motion.
    void PointerLeft() { PointerKnown = false; }
    void WheelTurned(int angleDelta);
    // Focus lost: nothing stays held; each key and button let go counts as released.
    void ReleaseAll();

    bool Poll(KeyboardState& state) override;
    bool Peek(KeyboardState& state) const override;
    bool Poll(MouseState& state) override;
    std::array<std::uint8_t, 4> HeldButtons() const override { return Buttons; }
    ScreenPoint Pointer() const override { return Position; }

private:
    KeyboardState Keys;
    std::array<std::uint8_t, 4> Buttons{};
    InputEdges<4> ButtonEdges;
    ScreenPoint Position;
    bool PointerKnown = false;
    int MotionX = 0;
    int MotionY = 0;
    int WheelAngle = 0; // units not yet making a whole notch
    int WheelNotches = 0;
};

// The DirectInput scan code of a Linux evdev key code; 0 for keys without one.
int ScanCodeFromEvdev(int evdevCode);

} // namespace platform
