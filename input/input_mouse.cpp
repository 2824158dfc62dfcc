#include "input/input_mouse.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "input/input_main.h"

namespace {

// Motion scaled from the reference size to the view's; nothing without a reference.
float Scaled(int raw, int client, float reference)
{
    return reference != 0.0f ? static_cast<float>(raw) * static_cast<float>(client) / reference : 0.0f;
}

bool IsButton(int index)
{
    return index >= 0 && index < static_cast<int>(platform::MouseState().Buttons.size());
}

} // namespace

QIMouse::QIMouse(QOXInput* owner) : QOXObject(owner, "QOX Input Mouse"), Owner(owner) {}

void QIMouse::Setup(platform::MouseDevice* device)
{
    if (device == nullptr)
        return;
    Device = device;
    SetReference(640.0f, 480.0f, 0.0f);
    Initialized = true;
    Engine()->Console->AddLine("QOX Input: Mouse initialized!");
}

void QIMouse::Poll()
{
    if (!Initialized)
        return;
    Active = Initialized && Owner->Active;
    if (!Device->Poll(State))
        State.ButtonEdges = {};
}

void QIMouse::SetArea(const platform::ViewArea* area)
{
    if (area == nullptr)
        return;
    const platform::ScreenPoint origin = area->Origin();
    OriginX = origin.X;
    OriginY = origin.Y;
    ClientWidth = area->Width();
    ClientHeight = area->Height();
}

void QIMouse::SetReference(float width, float height, float depth)
{
    ReferenceWidth = width;
    ReferenceHeight = height;
    ReferenceDepth = depth;
}

int QIMouse::CursorX() const
{
    return Device != nullptr ? Device->Pointer().X - OriginX : 0;
}

int QIMouse::CursorY() const
{
    return Device != nullptr ? Device->Pointer().Y - OriginY : 0;
}

float QIMouse::DeltaX() const
{
    return Scaled(RawX(), ClientWidth, ReferenceWidth);
}

float QIMouse::DeltaY() const
{
    return Scaled(RawY(), ClientHeight, ReferenceHeight);
}

bool QIMouse::ButtonDownNow(int index) const
{
    if (!Initialized || !IsButton(index))
        return ButtonDown(index);
    return Device->HeldButtons()[static_cast<std::size_t>(index)] != 0 && Active;
}

std::optional<QIEdges> QIMouse::Edges(int index) const
{
    if (!Initialized || !IsButton(index))
        return std::nullopt;
    const auto button = static_cast<std::size_t>(index);
    return QIEdges{State.ButtonEdges.Presses[button], State.ButtonEdges.Releases[button]};
}

bool QIMouse::ButtonDown(int index) const
{
    if (!Initialized)
        return false;
    if (IsButton(index))
        return State.Buttons[static_cast<std::size_t>(index)] != 0 && Active;
    if (index == kWheelAway)
        return RawZ() > 0;
    if (index == kWheelTowards)
        return RawZ() < 0;
    if (index >= 0 && index < kWheelAway)
        return false;
    Engine()->Error("QOX_Input", "Undefined mouse button index!");
    return false;
}
