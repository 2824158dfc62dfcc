#pragma once
// Input played from a script, frame by frame, for tests and tools without a window: each frame
// presses and releases keys and buttons (in the order they were added), moves the pointer and turns
// the wheel, through the same event states a window fills. Joysticks come from the Linux joystick interface under a base path
// of the caller's choice (a folder of pipes in tests).
#include <deque>
#include <string>
#include <vector>

#include "platform/input_events.h"
#include "platform/linux_joystick.h"

namespace platform {

class ScriptedInput : public InputSystem, public ViewArea {
public:
    struct Frame {
        enum class Change { KeyDown, KeyUp, ButtonDown, ButtonUp };
        struct Event {
            Change Kind = Change::KeyDown;
            int Code = 0;
        };

        Frame& Press(int key) { return Add(Change::KeyDown, key); }
        Frame& Release(int key) { return Add(Change::KeyUp, key); }
        Frame& PressButton(int button) { return Add(Change::ButtonDown, button); }
        Frame& ReleaseButton(int button) { return Add(Change::ButtonUp, button); }
        Frame& Move(int x, int y);
        Frame& Turn(int notches);
        Frame& LoseFocus();

        std::vector<Event> Events; // keys and buttons, in order
        int MoveX = 0;
        int MoveY = 0;
        int WheelNotches = 0; // away from the user is positive
        bool FocusLost = false;

    private:
        Frame& Add(Change kind, int code);
    };

    explicit ScriptedInput(std::string joystickBasePath = "/dev/input/js");

    void Queue(const Frame& frame) { Frames.push_back(frame); }
    // Plays the next queued frame; false when none is left.
    bool PlayFrame();

    bool Start() override { return Available; }
    KeyboardDevice* Keyboard() override { return &Events; }
    MouseDevice* Mouse() override { return &Events; }
    JoystickSource* Joysticks() override { return &Sticks; }
    const ViewArea* Area() const override { return this; }

    ScreenPoint Origin() const override { return AreaOrigin; }
    int Width() const override { return AreaWidth; }
    int Height() const override { return AreaHeight; }

    bool Available = true;
    ScreenPoint AreaOrigin{100, 50};
    int AreaWidth = 640;
    int AreaHeight = 480;

private:
    EventInput Events;
    LinuxJoysticks Sticks;
    std::deque<Frame> Frames;
    ScreenPoint Pointer{400, 300};
};

} // namespace platform
