#pragma once
// The modifier keys of the event that started what runs now: a key's for a command started by a
// key, the click's for a menu item clicked. Not the keys held at the moment the command runs,
// which may have changed since the user's key or click.
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
