#include "input/input_main.h"

#include <algorithm>

#include "engine/qox_console.h"
#include "engine/qox_constant.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
#include "input/input_joystick.h"
#include "input/input_keyboard.h"
#include "input/input_mouse.h"

namespace {

constexpr int kKeyboardCodes = 1000;
constexpr int kMouseCodes = 2000;
constexpr int kJoystickCodes = 500;

} // namespace

QOXInput::QOXInput(QOXObject* parent) : QOXObject(parent, "QOX Input Main")
{
    Keyboard = QOXNew<QIKeyboard>(this);
    Mouse = QOXNew<QIMouse>(this);
    for (QIJoystick*& joystick : Joysticks)
        joystick = QOXNew<QIJoystick>(this);
}

void QOXInput::Init(platform::InputSystem* system, UseDevice keyboard, UseDevice joysticks, UseDevice mouse)
{
    QOXConsole* console = Engine()->Console;
    console->AddSeparator();
    console->AddLine("Initializing Module: QOX Input");
    console->AddBlank();
    Window = system;
    if (Window == nullptr || !Window->Start())
        Engine()->Error("QOX_Input", "Could not initialize Direct Input!");
    else
        SetupDevices(keyboard, joysticks, mouse);
    if (Window != nullptr)
        Mouse->SetArea(Window->Area());
    console->AddSeparator();
    console->AddBlank();
}

void QOXInput::SetupDevices(UseDevice keyboard, UseDevice joysticks, UseDevice mouse)
{
    UseKeyboard = keyboard == UseDevice::Yes;
    UseMouse = mouse == UseDevice::Yes;
    UseJoysticks = joysticks == UseDevice::Yes;
    if (UseKeyboard)
        Keyboard->Setup(Window->Keyboard());
    if (UseMouse)
        Mouse->Setup(Window->Mouse());
    if (UseJoysticks)
        SetupJoysticks();
}

void QOXInput::SetupJoysticks()
{
    platform::JoystickSource* source = Window->Joysticks();
    const int found = source != nullptr ? std::min(source->Count(), kMaxJoysticks) : 0;
    Engine()->Console->AddLine("QOX Input: Joystick Devices found: " + QOXConvert::IntToStr(found));
    LastJoystick = found - 1;
    for (int i = 0; i < found; ++i)
        Joysticks[static_cast<std::size_t>(i)]->Setup(i, source->Get(i));
}

int QOXInput::AddButton(const std::string& name, const std::string& group, int code)
{
    TButton button;
    button.Name = CutText(name, kStringName);
    button.Group = CutText(group, kStringName);
    button.Codes = {code, kNoCode};
    Buttons.push_back(button);
    LastButton = static_cast<int>(Buttons.size()) - 1;
    return LastButton;
}

int QOXInput::FindButton(const std::string& name, const std::string& group) const
{
    const TButton* button = Find(name, group);
    return button != nullptr ? static_cast<int>(button - Buttons.data()) : -1;
}

const TButton* QOXInput::Find(const std::string& name, const std::string& group) const
{
    if (!Active)
        return nullptr;
    const std::string wantedName = CutText(name, kStringName);
    const std::string wantedGroup = CutText(group, kStringName);
    for (const TButton& button : Buttons) {
        if (button.Name == wantedName && (wantedGroup.empty() || button.Group == wantedGroup))
            return &button;
    }
    return nullptr;
}

bool QOXInput::IsDown(const std::string& name, const std::string& group) const
{
    const TButton* button = Find(name, group);
    return button != nullptr && button->Down;
}

bool QOXInput::IsDownNow(const std::string& name, const std::string& group) const
{
    const TButton* button = Find(name, group);
    return button != nullptr && Evaluate(*button, Moment::Now);
}

bool QOXInput::WasPressed(const std::string& name, const std::string& group) const
{
    const TButton* button = Find(name, group);
    return button != nullptr && button->Pressed;
}

bool QOXInput::WasReleased(const std::string& name, const std::string& group) const
{
    const TButton* button = Find(name, group);
    return button != nullptr && button->Released;
}

void QOXInput::Update()
{
    if (!Active)
        return;
    if (UseKeyboard)
        Keyboard->Poll();
    if (UseMouse)
        Mouse->Poll();
    if (UseJoysticks) {
        for (int i = 0; i <= LastJoystick; ++i)
            Joysticks[static_cast<std::size_t>(i)]->Poll();
    }
    for (TButton& button : Buttons) {
        button.WasDown = button.Down;
        button.Down = Evaluate(button, Moment::Polled);
        TakeEdges(button);
    }
}

// The presses and releases counted by the devices since the poll before; inputs that count none
// (the wheel, joysticks) go down and up as their state changes from poll to poll. One of each is
// told per frame, the rest waits for the next frames.
void QOXInput::TakeEdges(TButton& button) const
{
    QIEdges edges;
    for (int code : button.Codes) {
        if (code == kNoCode)
            continue;
        if (const std::optional<QIEdges> counted = CodeEdges(code)) {
            edges.Presses += counted->Presses;
            edges.Releases += counted->Releases;
        }
    }
    edges.Presses = std::max(edges.Presses, button.Down && !button.WasDown ? 1 : 0);
    edges.Releases = std::max(edges.Releases, button.WasDown && !button.Down ? 1 : 0);
    button.PendingPresses += edges.Presses;
    button.PendingReleases += edges.Releases;
    button.Pressed = button.PendingPresses > 0;
    button.Released = button.PendingReleases > 0;
    button.PendingPresses -= button.Pressed ? 1 : 0;
    button.PendingReleases -= button.Released ? 1 : 0;
}

bool QOXInput::Changed() const
{
    if (!Active)
        return false;
    if (UseMouse && (Mouse->RawX() != 0 || Mouse->RawY() != 0 || Mouse->RawZ() != 0))
        return true;
    return std::any_of(Buttons.begin(), Buttons.end(), [](const TButton& button) {
        return button.Down != button.WasDown || button.Pressed || button.Released;
    });
}

bool QOXInput::Evaluate(const TButton& button, Moment moment) const
{
    for (int code : button.Codes) {
        if (code == kNoCode)
            continue;
        bool known = true;
        if (CodeDown(code, known, moment))
            return true;
        if (!known) {
            Engine()->Error("QOX_Input", "Undefined input device range!");
            return false;
        }
    }
    return false;
}

bool QOXInput::CodeDown(int code, bool& known, Moment moment) const
{
    const bool now = moment == Moment::Now;
    if (code >= 0 && code < kKeyboardCodes)
        return now ? Keyboard->KeyDownNow(code) : Keyboard->KeyDown(code);
    if (code >= kKeyboardCodes && code < kMouseCodes)
        return now ? Mouse->ButtonDownNow(code - kKeyboardCodes) : Mouse->ButtonDown(code - kKeyboardCodes);
    const int joystick = (code - kMouseCodes) / kJoystickCodes;
    if (code >= kMouseCodes && joystick < kMaxJoysticks)
        return Joysticks[static_cast<std::size_t>(joystick)]->ButtonDown(code - kMouseCodes - joystick * kJoystickCodes);
    known = false;
    return false;
}

std::optional<QIEdges> QOXInput::CodeEdges(int code) const
{
    if (code >= 0 && code < kKeyboardCodes)
        return Keyboard->Edges(code);
    if (code >= kKeyboardCodes && code < kMouseCodes)
        return Mouse->Edges(code - kKeyboardCodes);
    return std::nullopt;
}

void QOXInput::SetMouseArea(const platform::ViewArea* area)
{
    if (UseMouse)
        Mouse->SetArea(area);
}

void QOXInput::SetMouseReference(float width, float height)
{
    if (UseMouse)
        Mouse->SetReference(width, height, 0.0f);
}

void QOXInput::BeforeDestroy()
{
    Active = false;
    Engine()->Console->AddSeparator();
    Engine()->Console->AddLine("QOX Input: Shut down...");
}

void QOXInput::AfterChildrenDestroyed()
{
    Keyboard = nullptr;
    Mouse = nullptr;
    Joysticks = {};
    Window = nullptr;
    Buttons.clear();
    LastButton = -1;
    Engine()->Console->AddSeparator();
    Engine()->Console->AddBlank();
}
