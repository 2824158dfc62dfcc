#pragma once
// The keyboard: which keys are down, by DirectInput scan code.
#include "engine/qox_object.h"
#include "platform/input_devices.h"

class QIKeyboard : public QOXObject {
    QOX_CLASS(QIKeyboard)
public:
    explicit QIKeyboard(QOXObject* parent);

    // `device` is owned by the input system and outlives the keyboard.
    void Setup(platform::KeyboardDevice* device);
    void Poll();
    bool KeyDown(int code) const;

    bool Initialized = false;

private:
    platform::KeyboardDevice* Device = nullptr; // not owned
    platform::KeyboardState State;
};
