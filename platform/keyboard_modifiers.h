#pragma once
// The modifier keys as the window system sees them at this moment, whatever the program's own key
// table says (a key pressed while another window had the focus counts too).
namespace platform {

class KeyboardModifiers {
public:
    virtual ~KeyboardModifiers() = default;
    virtual bool ShiftHeld() const = 0;
};

// Asks the window system through Qt; needs the GUI application.
class QtKeyboardModifiers : public KeyboardModifiers {
public:
    bool ShiftHeld() const override;
};

} // namespace platform
