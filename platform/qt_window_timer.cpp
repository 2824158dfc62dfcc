#include "platform/qt_window_timer.h"

#include <QTimer>

namespace platform {

void QtWindowTimer::SetEnabled(bool enabled)
{
    if (enabled)
        Timer->start();
    else
        Timer->stop();
}

bool QtWindowTimer::IsEnabled() const
{
    return Timer->isActive();
}

} // namespace platform
