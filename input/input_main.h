#pragma once
// The input module: named buttons ("Left" of "Mouse", "Add" of "Selection", ...), each bound to
// up to two device codes and worked out once per frame, so that the rest of the program asks
// whether a button is down, went down in this frame or came up in it. No press is lost between two
// frames: every press since the last poll is seen by WasPressed once, every release by WasReleased
// once, also when both came between two polls (a quick tap then is pressed and released in the same
// frame; a second tap before the poll is kept for the next frame).
//
// Device codes: -1 none; 0-999 keyboard scan codes (256 and above read as up); 1000-1999 mouse
// button (code - 1000); 2000-2499, 2500-2999, 3000-3499 and 3500-3999 the buttons of joysticks
// 0 to 3 (code - 2000, - 2500, ...).
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/qox_object.h"
#include "input/input_edges.h"
#include "platform/input_devices.h"

class QIKeyboard;
class QIMouse;
class QIJoystick;

struct TButton {
    std::string Name;
    std::string Group;
    std::array<int, 2> Codes{-1, -1};
    bool Down = false;
    bool WasDown = false;
    bool Pressed = false;  // went down since the poll before, as WasPressed tells it in this frame
    bool Released = false; // came up since the poll before
    int PendingPresses = 0;  // presses seen by the poll but not yet told, one a frame
    int PendingReleases = 0;
};
using TButtons = std::vector<TButton>;

// Which devices Init sets up.
enum class UseDevice { No, Yes };

class QOXInput : public QOXObject {
    QOX_CLASS(QOXInput)
public:
    static constexpr int kNoCode = -1;
    static constexpr int kMaxJoysticks = 4;

    explicit QOXInput(QOXObject* parent);

    // `system` (may be none) is owned by the window and outlives the module.
    void Init(platform::InputSystem* system, UseDevice keyboard, UseDevice joysticks, UseDevice mouse);
    int AddButton(const std::string& name, const std::string& group, int code);
    int FindButton(const std::string& name, const std::string& group) const;
    bool IsDown(const std::string& name, const std::string& group) const;
    // The state at this moment rather than at the last poll: for what window events decide
    // between two frames (a click with a modifier held), keys and mouse buttons as the events seen
    // so far left them.
    bool IsDownNow(const std::string& name, const std::string& group) const;
    bool WasPressed(const std::string& name, const std::string& group) const;
    bool WasReleased(const std::string& name, const std::string& group) const;
    void Update();
    // Whether the last Update saw the pointer move, the wheel turn or a button go down or up.
    bool Changed() const;
    void SetMouseArea(const platform::ViewArea* area);
    void SetMouseReference(float width, float height);

    platform::InputSystem* Window = nullptr; // not owned; the view's input
    bool UseKeyboard = false;
    bool UseMouse = false;
    bool UseJoysticks = false;
    TButtons Buttons;
    int LastButton = -1;
    QIKeyboard* Keyboard = nullptr; // owned as a child
    QIMouse* Mouse = nullptr;       // owned as a child
    std::array<QIJoystick*, kMaxJoysticks> Joysticks{}; // owned as children
    int LastJoystick = -1;
    bool Active = true;

protected:
    void BeforeDestroy() override;
    void AfterChildrenDestroyed() override;

private:
    void SetupDevices(UseDevice keyboard, UseDevice joysticks, UseDevice mouse);
    void SetupJoysticks();
    const TButton* Find(const std::string& name, const std::string& group) const;
    // At the last poll, or (Now) after the events seen so far.
    enum class Moment { Polled, Now };
    bool Evaluate(const TButton& button, Moment moment) const;
    bool CodeDown(int code, bool& known, Moment moment) const;
    std::optional<QIEdges> CodeEdges(int code) const;
    void TakeEdges(TButton& button) const;
};
