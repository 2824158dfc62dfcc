#include "platform/linux_joystick.h"

#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

LinuxJoystick::LinuxJoystick(const std::string& path) : DevicePath(path)
{
    Handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

LinuxJoystick::~LinuxJoystick()
{
    if (Handle >= 0)
        ::close(Handle);
}

bool LinuxJoystick::Poll(JoystickState& state)
{
    if (Handle < 0)
        return false;
    js_event event{};
    ssize_t got = 0;
    while ((got = ::read(Handle, &event, sizeof event)) == static_cast<ssize_t>(sizeof event))
        Apply(event.type, event.number, event.value);
    if (got < 0 && errno != EAGAIN && errno != EINTR) {
        // Unplugged: the stick keeps its last state and is not read again.
        ::close(Handle);
        Handle = -1;
        return false;
    }
    state = State;
    return true;
}

void LinuxJoystick::Apply(std::uint8_t type, std::uint8_t number, std::int16_t value)
{
    const std::uint8_t kind = type & ~JS_EVENT_INIT;
    if (kind == JS_EVENT_BUTTON && number < State.Buttons.size())
        State.Buttons[number] = value != 0 ? kDown : 0;
    else if (kind == JS_EVENT_AXIS && number == 0)
        State.X = AxisFromLinux(value);
    else if (kind == JS_EVENT_AXIS && number == 1)
        State.Y = AxisFromLinux(value);
}

std::int32_t LinuxJoystick::AxisFromLinux(int value)
{
    return std::clamp(value + kAxisCentre, 0, kAxisMax);
}

LinuxJoysticks::LinuxJoysticks(std::string basePath) : BasePath(std::move(basePath)) {}

int LinuxJoysticks::Count()
{
    for (int i = 0; i < kMaxJoysticks && Filled < kMaxJoysticks; ++i) {
        const std::string path = BasePath + std::to_string(i);
        const bool taken = std::any_of(Slots.begin(), Slots.begin() + Filled,
                                       [&](const auto& slot) { return slot->Path() == path; });
        if (taken)
            continue;
        auto joystick = std::make_unique<LinuxJoystick>(path);
        if (joystick->IsOpen())
            Slots[static_cast<std::size_t>(Filled++)] = std::move(joystick);
    }
    return Filled;
}

JoystickDevice* LinuxJoysticks::Get(int index)
{
    return index >= 0 && index < Filled ? Slots[static_cast<std::size_t>(index)].get() : nullptr;
}

} // namespace platform
