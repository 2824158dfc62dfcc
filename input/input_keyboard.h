#pragma once
// The keyboard: which keys are down, by DirectInput scan code, and how often each went down and
// came up between the last two polls.
#include "engine/qox_object.h"
#include "input/input_edges.h"
#include "platform/input_devices.h"

class QIKeyboard : public QOXObject {
    QOX_CLASS(QIKeyboard)
public:
    explicit QIKeyboard(QOXObject* parent);

    // `device` is owned by the input system and outlives the keyboard.
    void Setup(platform::KeyboardDevice* device);
    void Poll();
    bool KeyDown(int code) const;
    // Whether the key is down at this moment: after every event seen so far, between polls too.
    bool KeyDownNow(int code) const;
    QIEdges Edges(int code) const;

    bool Initialized = false;

private:
    platform::KeyboardDevice* Device = nullptr; // not owned
    platform::KeyboardState State;
};
