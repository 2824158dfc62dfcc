#pragma once
// A joystick device made of a named pipe that speaks the Linux joystick interface's events, so
// that the joystick code reads what a test writes, as it would read a real stick.
#include <cstdint>
#include <string>

class JoystickPipe {
public:
    // Makes `basePath` + index as a pipe.
    JoystickPipe(const std::string& basePath, int index);
    ~JoystickPipe();
    JoystickPipe(const JoystickPipe&) = delete;
    JoystickPipe& operator=(const JoystickPipe&) = delete;

    // Values as the interface gives them: axes -32767 to 32767, buttons 0 or 1. `initial` marks
    // the events the driver sends when the device is opened.
    void Axis(std::uint8_t number, std::int16_t value, bool initial = false);
    void Button(std::uint8_t number, bool pressed, bool initial = false);
    // Full deflection both ways.
    static constexpr std::int16_t kLow = -32767;
    static constexpr std::int16_t kHigh = 32767;

private:
    void Send(std::uint8_t type, std::uint8_t number, std::int16_t value, bool initial);

    std::string Path;
    int Writer = -1; // owned
};
