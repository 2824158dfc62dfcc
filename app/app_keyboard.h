#pragma once
// The keyboard cursor: the keys that move the cursor's current element over the current ring,
// select, open, go up, zoom and open menus, the search that jumps to an element as its name is
// typed, and the find bar's matches. The view hands it every key press; what it does not use (Tab,
// Space alone, the modifiers) is left to the input actions polled by the frame.
#include <string>
#include <unordered_set>
#include <vector>

#include "app/app_links.h"
#include "engine/qox_object.h"
#include "ring/element_hooks.h"

class QACursor;
class QOXRing;
class QREFolder;
class QRElement;
enum class QAZoom;

// The keys the keyboard cursor knows; every other key is Other (and may still type a name).
// F is the find bar's key, which the window handles.
enum class QAKey { Other, Left, Right, Up, Down, Enter, Backspace, Home, Space, A, F, Zero, Menu, F10, Plus, Minus };

enum QAKeyModifier : unsigned { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

struct QAKeyPress {
    QAKey Key = QAKey::Other;
    unsigned Modifiers = kNoModifier;
    std::string Text; // what the key types, UTF-8; empty for keys that type nothing
    bool Has(QAKeyModifier modifier) const { return (Modifiers & modifier) != 0; }
};

// Which way the cursor goes around the ring or through the matches.
enum class QAStep { Back = -1, Forward = 1 };
// Whether a move starts a new range or extends the one from the anchor.
enum class QAMoveKind { Move, Extend };

class QAKeyboard : public QOXObject, public QRElementWatcher {
    QOX_CLASS(QAKeyboard)
public:
    // A typed name waits this long for its next letter; the scene shows it as long.
    static constexpr float kTypingSeconds = 1.0f;

    // `cursor` (not owned) is the application's cursor and outlives the keyboard cursor, which
    // registers itself with the application.
    QAKeyboard(QOXObject* parent, QACursor* cursor);

    // Acts on a key pressed in the view; keys that are not the keyboard cursor's do nothing here.
    void KeyPress(const QAKeyPress& press);

    // The moves of the keys.
    void MoveTo(QRElement* element, QAMoveKind kind = QAMoveKind::Move);
    void Sibling(QAStep step, QAMoveKind kind);
    void Parent();
    void FirstChild();
    void Root();
    void Open();
    void UpOneLevel();
    void ToggleSelection();
    void SelectFolder();
    void OpenMenu();
    void Zoom(QAZoom direction);
    void ResetView();
    // Find as you type: the typed text grows while letters follow each other quickly.
    void Type(const std::string& text);

    // The find bar: every element on the current ring whose name holds `text` is a match; the
    // count of matches. Empty text matches nothing.
    int Find(const std::string& text);
    // The next or previous match after the current element, around the ring.
    void FindNext(QAStep step);
    void EndFind();

    // What the scene and the ring renderer show.
    // The current element while the keys put it there (a press elsewhere takes the mark away).
    const QRElement* MarkedElement() const;
    bool IsMatch(const QRElement* element) const;
    // The element the info box shows for the keys: the marked one while the pointer is still.
    QRElement* InfoElement() const;
    // The text typed for the search, while it is still being typed.
    std::string TypedText() const;

    void ElementFreed(const QRElement* element) override;

    std::unordered_set<const QRElement*> Matches; // not owned; elements drawn on the current ring

protected:
    void BeforeDestroy() override;

private:
    bool MoveKey(const QAKeyPress& press);
    bool CommandKey(const QAKeyPress& press);
    bool TypingKey(const QAKeyPress& press);
    // The element the keys start from: the current element on the current ring, else its root.
    QRElement* Start() const;
    void SelectRange() const;
    std::vector<QRElement*> DrawnElements() const;
    float Now() const;

    QACursor* Cursor = nullptr;       // not owned
    QRElement* KeyElement = nullptr;  // not owned; where the keys last put the cursor
    QAPoint PointerAtKey;             // the pointer when the keys last moved the cursor
    std::string Typed;
    float TypedAt = -1.0f;            // running seconds of the last typed letter
};
