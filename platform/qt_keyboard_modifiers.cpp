#include <QGuiApplication>

#include "platform/keyboard_modifiers.h"

namespace platform {

// The modifiers of the key or mouse event being handled, which Qt keeps as it delivers each one: a
// command started by Shift+Del is permanent even when Shift was let go before the program got to
// the event, and a Shift pressed meanwhile for something else changes nothing.
bool QtKeyboardModifiers::ShiftHeld() const
{
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
}

} // namespace platform
