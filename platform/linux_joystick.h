#pragma once
// Joysticks through the Linux joystick interface (/dev/input/js0 to js3): events of 8 bytes,
// axes from -32767 to 32767, buttons 0 or 1. Axes 0 and 1 are the stick's X and Y.
#include <array>
#include <memory>
#include <string>

#include "platform/input_devices.h"

namespace platform {

class LinuxJoystick : public JoystickDevice {
public:
    // Opens the device without blocking; `IsOpen` tells whether that worked.
    explicit LinuxJoystick(const std::string& path);
    ~LinuxJoystick() override;
    LinuxJoystick(const LinuxJoystick&) = delete;
    LinuxJoystick& operator=(const LinuxJoystick&) = delete;

    bool IsOpen() const { return Handle >= 0; }
    const std::string& Path() const { return DevicePath; }
    // Reads every event waiting; false (state kept) once the device is gone.
    bool Poll(JoystickState& state) override;

    // An axis value of the Linux interface in DirectInput's range.
    static std::int32_t AxisFromLinux(int value);

private:
    void Apply(std::uint8_t type, std::uint8_t number, std::int16_t value);

    std::string DevicePath;
    int Handle = -1; // owned; closed with the joystick
    JoystickState State;
};

class LinuxJoysticks : public JoystickSource {
public:
    static constexpr int kMaxJoysticks = 4;

    // `basePath` + 0 to 3 name the devices; tests pass a folder of their own.
    explicit LinuxJoysticks(std::string basePath = "/dev/input/js");

    int Count() override;
    JoystickDevice* Get(int index) override;

private:
    std::string BasePath;
    std::array<std::unique_ptr<LinuxJoystick>, kMaxJoysticks> Slots; // owned
    int Filled = 0;
};

} // namespace platform
