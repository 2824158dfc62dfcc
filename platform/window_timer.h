#pragma once
// The main window's timers as the engine sees them: something it can switch on and off.

namespace platform {

class WindowTimer {
public:
    virtual ~WindowTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

// A timer that only remembers its state; for tests and programs without a window.
class FlagWindowTimer : public WindowTimer {
public:
    explicit FlagWindowTimer(bool enabled = false) : Enabled(enabled) {}
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    bool IsEnabled() const override { return Enabled; }

private:
    bool Enabled = false;
};

} // namespace platform
