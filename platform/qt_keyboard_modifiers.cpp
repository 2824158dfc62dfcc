#include <QGuiApplication>

#include "platform/keyboard_modifiers.h"

namespace platform {

bool QtKeyboardModifiers::ShiftHeld() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

} // namespace platform
