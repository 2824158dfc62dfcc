#pragma once
// What the application asks of the parts that have a window or a picture: the main window
// (captions, status bar, busy pointer, menu ticks), the scene (the ring title) and the cursor; and
// what the cursor asks of the scene (picking) and of the window (its context menus).
// Each is optional: without one the application does its own work and nothing is shown.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/app_constant.h"

struct QASettings;
struct QAGrowthReport;
class QOXFavoriteEngine;
class QOXRing;
class QOXViewEngine;
class QRElement;

// A point of the view in pixels from its top left, y downwards.
struct QAPoint {
    float X = 0.0f;
    float Y = 0.0f;
    bool operator==(const QAPoint&) const = default;
};

// The view panel's size in pixels.
struct QAViewSize {
    int Width = 0;
    int Height = 0;
};

class QAWindowLink {
public:
    virtual ~QAWindowLink() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetStatusText(QAStatusPanel panel, const std::string& text) = 0;
    virtual void SetBusy(bool busy) = 0;
    // The menu ticks that mirror settings.
    virtual void SettingsLoaded(const QASettings& settings) = 0;
    // The title the desktop shows for the program while its window is not in front.
    virtual void SetTaskBarTitle(const std::string& title) = 0;
    virtual QAViewSize ViewSize() const = 0;
    // Whether the view is on screen; a frame drawn while it is not would show nowhere.
    virtual bool ViewShown() const = 0;
};

class QASceneLink {
public:
    virtual ~QASceneLink() = default;
    virtual void ShowRingTitle(const std::string& title) = 0;
};

class QACursorLink {
public:
    virtual ~QACursorLink() = default;
    virtual void RingChanged(QOXRing* ring) = 0;
    // Brings the current ring's view to the picked element again.
    virtual void RefocusPicked() = 0;
};

// The element under a point of the view (pixels from its top left, y downwards), or none: the
// scene's picking pass over the rings on screen.
class QAPicker {
public:
    virtual ~QAPicker() = default;
    virtual QRElement* PickAt(float x, float y) = 0;
    // Where the middle of the element's sector lies in the view; none when its ring is not drawn.
    virtual std::optional<QAPoint> ViewPointOf(const QRElement& element) = 0;
    // Whether a ring's miniature is shown in the strip of minimised rings at the view point: a press
    // there is the strip's, not the rings' (also while the strip fades out).
    virtual bool OnRingStrip(float x, float y) = 0;
};

// Files dragged from the view out to other programs.
class QADragOutLink {
public:
    virtual ~QADragOutLink() = default;
    // Hands the files (full paths) to the window system's drag once the event at hand is done:
    // offered as a copy, or as a move with Shift where the target allows it.
    virtual void DragOut(const std::vector<std::string>& paths) = 0;
};

// The cursor's three context menus.
enum class QAMenu { Background, Element, RingList };

// The items whose visibility the cursor decides when a menu opens; every other item of a menu is
// always shown.
enum class QAMenuItem {
    CMBGMinimizeRing,
    CMBGCloseRing,
    CMBGLineRing,
    CMLineRename,
    CMRename,
    CMHideFromRing,
    CMLineFolder,
    CMExpandAll,
    CMLineNew,
    CMNew,
    CMExpand,
    CMNewRingFromFolder,
    CMLineRoot,
    CMRingMinimize,
    CMRingClose,
    CMUpOneLevel,
    CMSmallItems,
};
using QAMenuItems = std::set<QAMenuItem>;

// The main window as the cursor sees it: its context menus, popped up at the mouse pointer, and
// whether it is the active window.
class QAMenuLink {
public:
    virtual ~QAMenuLink() = default;
    // `shown`: the items of the menu's variable ones that are visible this time.
    virtual void PopUpMenu(QAMenu menu, const QAMenuItems& shown) = 0;
    // The same, at a point of the view instead of the pointer (a menu asked for from the keyboard).
    virtual void PopUpMenuAt(QAMenu menu, const QAMenuItems& shown, QAPoint at) = 0;
    virtual bool WindowActive() const = 0;
};

// The main-menu items that the program fills from its data: the drives at the top of "New Ring",
// the views above the Views menu's separator, the favourites above the Favorites menu's separator;
// and the elements a small-items sector stands for, in the element menu's "Small Items".
enum class QADataMenu { Drives, Views, Favorites, SmallItems };

enum class QATick { None, Unticked, Ticked };

// One item of such a menu. The caption is the data's own text (a folder, a name): the window shows
// it as it is, never reading a "&" in it as a keyboard mark.
struct QAMenuEntry {
    std::string Caption;
    QATick Tick = QATick::None;
    std::function<void()> Click;
};

class QAMenuBarLink {
public:
    virtual ~QAMenuBarLink() = default;
    // Replaces the menu's data items with `entries`, in their order.
    virtual void FillMenu(QADataMenu menu, const std::vector<QAMenuEntry>& entries) = 0;
};

// The modal results of the program's dialogs, the one set every dialog ends with.
enum class QAModalResult { Ok = 1, Cancel = 2, No = 7, NoToAll = 9, YesToAll = 10 };

// The program's dialogs, shown modally by the window. Each fills its controls from what it is given
// and, on OK, writes what the user chose back.
class QADialogLink {
public:
    virtual ~QADialogLink() = default;
    // The new-ring dialog: `folderBox` fills its folder box; `text` is what was typed or chosen.
    virtual QAModalResult NewRing(const std::vector<std::string>& folderBox, std::string& text) = 0;
    // The preferences dialog, on a copy of the settings.
    virtual QAModalResult Preferences(QASettings& settings) = 0;
    // The about box; its option shows and takes `bananaMode`, however the box is closed.
    virtual void About(bool& bananaMode) = 0;
    // The add-favourite dialog: shows the folder, proposes `name` and returns the name chosen.
    virtual QAModalResult AddFavorite(const std::string& folder, std::string& name) = 0;
    // The views and favourites editors work on the live lists.
    virtual QAModalResult ConfigureViews(QOXViewEngine& views) = 0;
    virtual QAModalResult ConfigureFavorites(QOXFavoriteEngine& favorites) = 0;
    // Which count growth is shown against: `choices` are "Previous count" and the recorded
    // counts; `chosen` comes in as the one in use and goes out as the one chosen.
    virtual QAModalResult ChooseGrowthSince(const std::vector<std::string>& choices, int& chosen) = 0;
    // "What Grew", beside the main window (not modal); `reveal` is called with each path the user
    // picks in it, relative to the report's folder.
    virtual void ShowWhatGrew(const QAGrowthReport& report, std::function<void(const std::string&)> reveal) = 0;
    // A size history file to open, starting in `folder`; false when none was chosen.
    virtual bool ChooseHistoryFile(const std::string& folder, std::string& path) = 0;
};

// The dialogs of the file commands, shown modally by the main window. The overwrite dialog and the
// progress window are the file operations' own (platform::OverwritePrompt, platform::ProgressView).
// What the rename dialog's edit starts with selected: the whole name (a folder's), or the name
// without its extension (a file's), so that typing replaces the name and keeps the type.
enum class QANamePart { Whole, Stem };

class QAFileDialogs {
public:
    virtual ~QAFileDialogs() = default;
    // The delete confirmation, OK and Cancel. `text` is rich text: names escaped, ring roots in
    // bold, lines broken with <br>.
    virtual QAModalResult ConfirmDelete(const std::string& text) = 0;
    // The rename dialog: `oldName` in LOldName and as the text of EName, with `part` of it selected;
    // on OK `newName` is the text of EName.
    virtual QAModalResult AskRename(const std::string& oldName, QANamePart part, std::string& newName) = 0;
    // The new-name dialog with `caption` and an empty EName; on OK `name` is its text.
    virtual QAModalResult AskNewName(const std::string& caption, std::string& name) = 0;
};
