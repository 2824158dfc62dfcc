#pragma once
// One joystick: two axes shaped by range, dead zone, inversion and rounding, 32 buttons, and the
// stick's eight directions as buttons 32 to 39.
#include "engine/qox_object.h"
#include "platform/input_devices.h"

class QIJoystick : public QOXObject {
    QOX_CLASS(QIJoystick)
public:
    enum Direction {
        Left = 32,
        Right = 33,
        Up = 34,
        Down = 35,
        UpLeft = 36,
        UpRight = 37,
        DownLeft = 38,
        DownRight = 39,
    };

    explicit QIJoystick(QOXObject* parent);

    // `device` is owned by the input system and outlives the joystick.
    void Setup(int index, platform::JoystickDevice* device);
    void Poll();

    float AxisX() const { return Axis(State.X, InvertX); }
    float AxisY() const { return Axis(State.Y, InvertY); }
    bool ButtonDown(int index) const;

    int Index = 0;
    float Range = 1.0f;
    float DeadZone = 0.25f;
    float Threshold = 0.25f;
    bool RoundAxes = false;
    bool InvertX = false;
    bool InvertY = false;
    bool Initialized = false;

private:
    float Axis(int raw, bool invert) const;
    bool DirectionDown(int index) const;

    platform::JoystickDevice* Device = nullptr; // not owned
    platform::JoystickState State;
};
