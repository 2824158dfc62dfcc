#pragma once
// Keyboard and mouse from the events of the view widget, joysticks from the Linux joystick
// interface. Watches the view without taking its events from anyone else.
#include <QObject>

#include "platform/input_events.h"
#include "platform/linux_joystick.h"

class QWidget;
class QKeyEvent;
class QMouseEvent;

namespace platform {

class QtInput : public QObject, public InputSystem, public ViewArea {
public:
    // `view` must outlive this object; its mouse tracking is switched on, so that motion arrives
    // without a button held.
    explicit QtInput(QWidget* view, std::string joystickBasePath = "/dev/input/js");
    ~QtInput() override;

    bool Start() override { return View != nullptr; }
    KeyboardDevice* Keyboard() override { return &Events; }
    MouseDevice* Mouse() override { return &Events; }
    JoystickSource* Joysticks() override { return &Sticks; }
    const ViewArea* Area() const override { return this; }

    // Lets go of every key and button: the view will not see their release (a menu or a dialog
    // takes the keyboard and the mouse).
    void ReleaseAll() { Events.ReleaseAll(); }

    ScreenPoint Origin() const override;
    int Width() const override;
    int Height() const override;

    // The scan code of a key event: from the evdev code where the window system gives one,
    // else from the key.
    static int ScanCode(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnKey(const QKeyEvent& event, bool down);
    void OnMouseButton(const QMouseEvent& event, bool down);
    ScreenPoint ToScreen(const QMouseEvent& event) const;

    QWidget* View = nullptr; // not owned; the view panel
    EventInput Events;
    LinuxJoysticks Sticks;
};

} // namespace platform
