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
    // A device that cannot be read keeps its keys, but nothing went down or up since.
    if (Initialized && !Device->Poll(State))
        State.Edges = {};
}

namespace {

bool IsCode(int code)
{
    return code >= 0 && code < static_cast<int>(platform::KeyboardState().Keys.size());
}

} // namespace

bool QIKeyboard::KeyDown(int code) const
{
    if (!Initialized || !IsCode(code))
        return false;
    return (State.Keys[static_cast<std::size_t>(code)] & platform::kDown) != 0;
}

bool QIKeyboard::KeyDownNow(int code) const
{
    if (!Initialized || !IsCode(code))
        return false;
    platform::KeyboardState now;
    if (!Device->Peek(now))
        return KeyDown(code);
    return (now.Keys[static_cast<std::size_t>(code)] & platform::kDown) != 0;
}

QIEdges QIKeyboard::Edges(int code) const
{
    if (!Initialized || !IsCode(code))
        return {};
    const auto index = static_cast<std::size_t>(code);
    return {State.Edges.Presses[index], State.Edges.Releases[index]};
}
