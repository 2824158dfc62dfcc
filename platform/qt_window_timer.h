#pragma once
#include "platform/window_timer.h"

class QTimer;

namespace platform {

// A QTimer on the GUI thread seen as a window timer.
class QtWindowTimer : public WindowTimer {
public:
    explicit QtWindowTimer(QTimer* timer) : Timer(timer) {}
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;

private:
    QTimer* Timer = nullptr; // not owned; the main window's timer
};

} // namespace platform
