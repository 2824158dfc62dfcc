#include "input/input_keyboard.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"

QIKeyboard::QIKeyboard(QOXObject* parent) : QOXObject(parent, "QOX Input Keyboard") {}

void QIKeyboard::Setup(platform::KeyboardDevice* device)
{
    if (device == nullptr)
        return;
    Device = device;
    Initialized = true;
    Engine()->Console->AddLine("QOX Input: Keyboard initialized!");
}

void QIKeyboard::Poll()
{
    if (Initialized)
        Device->Poll(State);
}

bool QIKeyboard::KeyDown(int code) const
{
    if (!Initialized || code < 0 || code >= static_cast<int>(State.Keys.size()))
        return false;
    return (State.Keys[static_cast<std::size_t>(code)] & platform::kDown) != 0;
}
