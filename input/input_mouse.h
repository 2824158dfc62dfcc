#pragma once
// The mouse: its motion since the last poll, scaled from a reference size to the view, the
// pointer's position in the view, four buttons, and the wheel as two buttons (33 turned away from
// the user, 34 towards) that are down in the frame the turn is read. The four buttons also tell how
// often they went down and came up between the last two polls.
#include <optional>

#include "engine/qox_object.h"
#include "input/input_edges.h"
#include "platform/input_devices.h"

class QOXInput;

class QIMouse : public QOXObject {
    QOX_CLASS(QIMouse)
public:
    static constexpr int kWheelAway = 33;
    static constexpr int kWheelTowards = 34;

    explicit QIMouse(QOXInput* owner);

    // `device` is owned by the input system and outlives the mouse.
    void Setup(platform::MouseDevice* device);
    void Poll();
    void SetArea(const platform::ViewArea* area);
    void SetReference(float width, float height, float depth);

    int CursorX() const;
    int CursorY() const;
    int RawX() const { return Active ? State.X : 0; }
    int RawY() const { return Active ? State.Y : 0; }
    int RawZ() const { return Active ? State.Z : 0; }
    float DeltaX() const;
    float DeltaY() const;
    bool ButtonDown(int index) const;
    // Buttons 0 to 3: down at this moment, between polls too; other inputs as at the last poll.
    bool ButtonDownNow(int index) const;
    // Buttons 0 to 3 only: the wheel's edges are the changes of its state from poll to poll.
    std::optional<QIEdges> Edges(int index) const;

    int OriginX = 0;
    int OriginY = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
    float ReferenceWidth = 0.0f;
    float ReferenceHeight = 0.0f;
    float ReferenceDepth = 0.0f;
    bool Active = false;
    bool Initialized = false;

private:
    QOXInput* Owner = nullptr;               // not owned; the input module that owns this mouse
    platform::MouseDevice* Device = nullptr; // not owned
    platform::MouseState State;
};
