#pragma once
// The cursor: turns presses, drags and releases on the 3-D view into selection, expansion and
// context menus, keeps the elements marked by Cut or Copy (the program's own clipboard, shared with
// other programs through the desktop's), carries the ring commands of the context menus, and runs
// the commands that change the disk.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/app_cursor_files.h"
#include "app/app_links.h"
#include "engine/qox_object.h"
#include "platform/file_clipboard.h"
#include "platform/keyboard_modifiers.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"

class QACDragDrop;
class QOXInput;
class QOXRing;
class QREFolder;
class QRElement;

// The mouse button of a press; any other button presses as the left one.
enum class QAMouseButton { None = -1, Left = 0, Right = 1, Middle = 2 };

// What a paste of the marked elements will do with them.
enum class QACopyMode { Cut = 0, Copy = 1 };

// What New File and New Folder make.
enum class QAEntryKind { File, Folder };

class QACursor : public QOXObject, public QACursorLink, public QRElementWatcher, public QRDeletion {
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
    // The folder the current element lies in (a ring's root: the root itself) when it is on the
    // current ring; that ring's root otherwise; none without a current ring.
    QREFolder* FolderOfCursor() const;
    // Expands or collapses the current folder (also the element menu's "Expand").
    void ToggleCurrent();
    void FocusCurrent();
    void RequestRingMenu(QOXRing* ring);
    // Marks the selection of the current ring for Paste and puts its files on the desktop's
    // clipboard, for other programs.
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

    // Commands that change the disk (app_cursor_files). Shift held at the moment of Delete makes
    // the deletion permanent; otherwise the entries go to the trash.
    void Delete();
    // Pastes into the current folder what another program put on the desktop's clipboard since the
    // last Cut or Copy here (a cut there moves), the marked elements otherwise.
    void Paste();
    void Rename();
    void NewFile();
    void NewFolder();
    // Ctrl+Shift+N: a new folder in the folder the cursor is in (FolderOfCursor).
    void NewFolderHere();
    // Edit > Undo: reverses the last paste, drop, rename, new file or folder, or deletion to the
    // trash, unless the disk changed since in a way that makes it unsafe.
    void Undo();
    bool CanUndo() const { return Files.CanUndo(); }
    // Edit > Clean up: removes the partial files that a copy or move left when the program was
    // killed (found at start-up) and gives the folders it left owner-only their permissions.
    void CleanUp();
    bool CanCleanUp() const { return Files.CanCleanUp(); }
    // Not empty, none of the symbols \ / : * ? " < > |, not "." or ".."; says why otherwise.
    bool IsValidFileName(const std::string& name) const;
    // The deletion entry points of the ring model: whether the entry is gone from the disk.
    bool DeleteFolderFromDisk(const std::string& path) override;
    bool DeleteFileFromDisk(const std::string& path) override;

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
    bool PressedOnSelection = false; // the left press landed on a selected element
    QAPoint PressPosition;
    QAMouseButton Button = QAMouseButton::None;
    QAPoint MousePosition;             // view pixels
    QRList<QRElement>* FilesToCopy = nullptr; // owned as a child; refers to (never owns) elements
    QACopyMode CopyMode = QACopyMode::Cut;
    bool MenuOpen = false;

    QACDragDrop* DropTarget = nullptr; // owned as a child; files dropped from other programs

    QAPicker* Picker = nullptr; // not owned; the scene's picking
    QAMenuLink* Menus = nullptr; // not owned; the main window's context menus
    QADragOutLink* DragOutLink = nullptr; // not owned; the window's drags to other programs
    QAFileDialogs* Dialogs = nullptr; // not owned; the delete confirmation, rename and new-name dialogs
    platform::KeyboardModifiers* Modifiers = nullptr; // not owned; the modifier keys at this moment
    platform::FileClipboard* Clipboard = nullptr;     // not owned; the desktop's clipboard, if any
    // The file operations with the overwrite dialog, the progress window and the trash.
    QAFileOperations Files;

    // A file command on a ring shown from a size history is refused with a message (true).
    static bool RefusedOnHistory(const QOXRing* ring);

protected:
    void BeforeDestroy() override;

private:
    // Takes these from the files to copy.
    void RemoveMarked(const std::vector<QRElement*>& going);
    bool ActionDown(const char* action, const char* group) const;
    bool AddDown() const;
    bool InvertActionDown() const;
    QAMouseButton PressedButton(QAMouseButton button) const;
    QRElement* Pick() const;
    void ClearSelection() const;
    void SelectRange();
    void ClickRelease();
    bool OutsideTheView() const;
    void DragSelectionOut();
    static std::vector<std::string> PathsOf(const QRList<QRElement>& elements);
    QREFolder* CurrentFolder() const;
    // A menu command that changes the current element, after which its ring is laid out again.
    template <class Change>
    void ChangeCurrent(Change change);
    QAMenuItems ElementMenuItems(const QRElement& element) const;
    // A small-items sector's menu offers the elements it stands for, the largest first; choosing
    // one makes it the current element, selected (app_cursor_members.cpp).
    void OfferMembers(const QRElement& smallItems);
    void ChooseMember(std::size_t index);
    void PopUp(QAMenu menu, const QAMenuItems& shown, std::optional<QAPoint> at);
    bool MenuRingIsOpen() const;
    bool ShiftHeld() const;
    std::vector<QADeleteItem> SelectedInCurrentRing() const;
    bool DeleteEntry(const std::string& path);
    // The marked elements' paths and what a paste does with them.
    platform::ClipboardFiles Marked() const;
    bool MarkedAbove(const QREFolder& folder) const;
    std::optional<platform::ClipboardFiles> FilesFromElsewhere() const;
    void PasteFiles(const platform::ClipboardFiles& files, const QREFolder& folder, bool fromElsewhere);
    void CreateNamedEntry(QAEntryKind kind, QREFolder* folder);
    QREFolder* PickedFolder() const;

    QOXInput* Input = nullptr; // not owned
    std::vector<QRElement*> OfferedMembers; // not owned; null once freed
    // While the selection is deleted: the paths its batch went for.
    std::optional<std::set<std::string>> DeletionBatch;
};
