#include "tests/support/joystick_pipe.h"

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

JoystickPipe::JoystickPipe(const std::string& basePath, int index) : Path(basePath + std::to_string(index))
{
    if (::mkfifo(Path.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make the pipe " + Path);
    // Opened for reading and writing, so that opening never waits for the reader.
    Writer = ::open(Path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (Writer < 0)
        throw std::runtime_error("cannot open the pipe " + Path);
}

JoystickPipe::~JoystickPipe()
{
    ::close(Writer);
    ::unlink(Path.c_str());
}

void JoystickPipe::Axis(std::uint8_t number, std::int16_t value, bool initial)
{
    Send(JS_EVENT_AXIS, number, value, initial);
}

void JoystickPipe::Button(std::uint8_t number, bool pressed, bool initial)
{
    Send(JS_EVENT_BUTTON, number, pressed ? 1 : 0, initial);
}

void JoystickPipe::Send(std::uint8_t type, std::uint8_t number, std::int16_t value, bool initial)
{
    js_event event{};
    event.value = value;
    event.type = static_cast<std::uint8_t>(type | (initial ? JS_EVENT_INIT : 0));
    event.number = number;
    if (::write(Writer, &event, sizeof event) != static_cast<ssize_t>(sizeof event))
        throw std::runtime_error("cannot write to the pipe " + Path);
}
