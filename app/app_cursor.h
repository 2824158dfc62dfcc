#pragma once
// The cursor: turns presses, drags and releases on the 3-D view into selection, expansion and
// context menus, keeps the elements marked by Cut or Copy (the program's own clipboard; the
// system clipboard is never touched), and carries the ring commands of the context menus.
#include <optional>

#include "app/app_links.h"
#include "engine/qox_object.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"

class QOXInput;
class QOXRing;
class QREFolder;
class QRElement;

// The mouse button of a press; any other button presses as the left one.
enum class QAMouseButton { None = -1, Left = 0, Right = 1, Middle = 2 };

// What a paste of the marked elements will do with them.
enum class QACopyMode { Cut = 0, Copy = 1 };

class QACursor : public QOXObject, public QACursorLink, public QRElementWatcher {
    QOX_CLASS(QACursor)
public:
    // `input` (not owned) is the application's input module; it outlives the cursor. The cursor
    // registers itself with the application, which must exist.
    QACursor(QOXObject* parent, QOXInput* input);

    // Mouse events of the view.
    void Press(QAMouseButton button);
    void Move(float x, float y);
    void Release();
    void SelectRelease();
    void MenuRelease();
    // The element menu for the current element, or the background menu without one: at the
    // pointer, or at a point of the view.
    void OpenMenu(std::optional<QAPoint> at);
    void OpenCurrent();
    // The per-frame work: pointer position, a ring menu asked for, the invert action.
    void Update();

    // Queries of the ring renderer and the scene.
    bool Enabled() const;
    bool RangeActive() const;
    bool InRange(const QRElement* element) const;
    bool InvertHeld() const { return InvertDown; }

    void SetCurrent(QRElement* element);
    // Expands or collapses the current folder (also the element menu's "Expand").
    void ToggleCurrent();
    void FocusCurrent();
    void RequestRingMenu(QOXRing* ring);
    void MarkSelected(QACopyMode mode);

    // Commands of the element menu, for the current element.
    void OpenElement();
    void ComputeElementSize();
    void ExpandAllElement();
    void NewRingFromFolder();
    // Commands of the background and element menus, for the current ring.
    void MinimizeRing();
    void CloseCurrentRing();
    void CloseAllRings();
    void UpOneLevel();
    // Commands of the ring-list menu, for `MenuRing`.
    void MaximizeMenuRing();
    void CloseMenuRing();

    // What the application tells its cursor.
    void RingChanged(QOXRing* ring) override;
    void RefocusPicked() override { FocusCurrent(); }
    void ElementFreed(const QRElement* element) override;

    // Not owned; the ring of CurrentElement, kept when it is cleared (used only while there is one).
    QOXRing* ElementRing = nullptr;
    QRElement* CurrentElement = nullptr; // not owned; under the last press, or under a left drag
    QRElement* AnchorElement = nullptr;  // not owned; under the last press: where a range starts
    bool InvertDown = false;           // the "Invert" action, read every frame
    QOXRing* MenuRing = nullptr;       // not owned; the ring the ring-list menu was opened for
    bool RingMenuPending = false;
    bool Dragging = false;
    QAPoint PressPosition;
    QAMouseButton Button = QAMouseButton::None;
    QAPoint MousePosition;             // view pixels
    QRList<QRElement>* FilesToCopy = nullptr; // owned as a child; refers to (never owns) elements
    QACopyMode CopyMode = QACopyMode::Cut;
    bool MenuOpen = false;

    QAPicker* Picker = nullptr; // not owned; the scene's picking
    QAMenuLink* Menus = nullptr; // not owned; the main window's context menus

protected:
    void BeforeDestroy() override;

private:
    bool ActionDown(const char* action, const char* group) const;
    bool AddDown() const;
    bool InvertActionDown() const;
    QAMouseButton PressedButton(QAMouseButton button) const;
    QRElement* Pick() const;
    void ClearSelection() const;
    void SelectRange();
    void ClickRelease();
    QREFolder* CurrentFolder() const;
    // A menu command that changes the current element, after which its ring is laid out again.
    template <class Change>
    void ChangeCurrent(Change change);
    QAMenuItems ElementMenuItems(const QRElement& element) const;
    void PopUp(QAMenu menu, const QAMenuItems& shown, std::optional<QAPoint> at);
    bool MenuRingIsOpen() const;

    QOXInput* Input = nullptr; // not owned
};
