#pragma once
// The application: the settings, the open rings and the current one, the views, and the ring-level
// operations that menus and the cursor call. Its start-up makes the GL device, the scene, the input
// and the cursor, and its frame drives them all. It needs no window: the window, its menus and
// dialogs, the scene and the cursor are reached through links.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/app_command_line.h"
#include "app/app_frame_stats.h"
#include "app/app_links.h"
#include "app/app_picture.h"
#include "app/app_settings.h"
#include "engine/qox_object.h"
#include "lists/favorite_main.h"
#include "lists/view_main.h"
#include "resources/resource_list.h"
#include "ring/element_hooks.h"
#include "ring/ring_main.h"

class GLAppSceneHost;
class QRPicturePrefetch;
class GLSceneApp;
class QACursor;
class QAKeyboard;
class QASizes;
class QOXGL;
class QOXInput;
namespace platform {
class FileClipboard;
class GLBinding;
class InputSystem;
class KeyboardModifiers;
class OverwritePrompt;
class ProgressView;
} // namespace platform

// One step of the wheel: the ring comes nearer or goes farther.
enum class QAZoom { In, Out };

// How a new ring reads its folder: whole before it is shown, or a slice at once and the rest a
// slice in each frame, the ring drawn as it grows (what the user opens).
enum class QAScan { Whole, AcrossFrames };

class QOXApp : public QOXObject, public QVDisplayListener {
    QOX_CLASS(QOXApp)
public:
    explicit QOXApp(QOXObject* parent = nullptr);

    // Start-up (app_startup.cpp), once, on a running engine: settings, recent file, the GL device
    // on the view, fonts, scene, input and its actions, cursor, views and favourites with their
    // menus, the first ring, the drive menu. `view` and `input` belong to the window and outlive
    // the application.
    void Init(platform::GLBinding* view, platform::InputSystem* input);
    // Starts decoding the pictures start-up makes textures of on a worker, for the window's
    // construction to overlap; Init takes them and ends the worker.
    void PrefetchPictures();
    void OpenInitialRing();
    void BuildDriveMenu();

    // The frame (app_frame.cpp): viewport, input and ring navigation, ring updates with the
    // automatic refresh, the cursor's frame, the drawing (only when the picture would change),
    // the task-bar title and the clipboard count, and then the disk's part (FollowDisk).
    void Frame();
    void SetViewportSizes();
    void HandleInput();
    void UpdateCursor();
    void DrawScene();
    // The last picture again, for a view uncovered while a dialog or box waits (no frame runs
    // then): nothing moves, no input is taken, the rings are only read.
    void DrawStillFrame();
    void ShowFrameStatus();
    // Zooms the ring by one step of the wheel, within the zoom's bounds.
    static void StepZoom(QOXRing& ring, QAZoom direction);
    // The task-bar title for a window caption: the ring's folder without "Orbivane - ".
    static std::string TaskBarTitle(const std::string& caption);

    // Commands of the main menu (app_commands.cpp).
    void NewRingDialog();
    void Preferences();
    void About();
    void ShowContents() const;
    void ResetRingView();
    void SetToggle(QAToggle toggle, bool on);
    // The rings follow a change of how they are sized (size true, free space, size on disk).
    void FollowSizeSettings(const QASettings& before);
    void BuildViewsMenu();
    // A view's menu item: the view flips (alone, unless several may be on) and the rings follow.
    void ToggleView(QVGeneric* view);
    void BuildFavoritesMenu();
    void ConfigureViews();
    void ConfigureFavorites();
    void AddCurrentToFavorites();
    // Hide from Ring: the selected elements of the current element's ring when it is one of them,
    // the current element otherwise; the ring's root is never hidden. Nothing changes on the disk.
    void HideFromRing();
    // The current ring's hidden items (paths below its folder), and one of them shown again.
    std::vector<std::string> HiddenItems() const;
    void ShowHiddenItem(const std::string& relative);
    void ShowAllHiddenItems();
    // The current ring's root (app_roots.cpp). `path` becomes the root: an ancestor of the root is
    // reached as Go Up One Level goes (what the ring has read stays), any other folder is read
    // anew; the root left is remembered for RootBack. False, with a message, when `path` is not a
    // folder or the ring shows a size history.
    bool ChangeRoot(const std::string& path);
    // Alt+Left and Alt+Right: the root before or after the one shown.
    void RootBack();
    void RootForward();
    // Size history commands (app_size_commands.cpp): the count growth is shown against, "What
    // Grew" for the current ring, a history file opened as a ring of its own, and a path of a
    // ring shown.
    void ChooseGrowthSince();
    void ShowWhatGrew();
    void OpenSizeHistory();
    // The ring of a history file (its newest complete count), made current; none with a message
    // when the file cannot be read.
    QOXRing* OpenSizeHistoryFile(const std::string& path);
    // Brings an entry below a ring's folder into view: the ring becomes current, the folders on
    // the entry's way open, the entry becomes the one selected and current element, and the ring
    // turns to it. None, with a message, when the entry is not on the disk.
    QRElement* RevealPath(const std::string& folder, const std::string& relative);

    void LoadSettings();
    void SaveSettings() const;
    std::string SettingsPath() const;

    // Opens a ring on an existing folder and makes it current; the ring already open on that
    // folder when equal rings are not allowed. None (with a message) for a missing folder or drive.
    QOXRing* CreateRing(const std::string& folder, QAScan scan = QAScan::Whole);
    // Takes a new ring into Rings (which owns it from here), laid out with its root open (read
    // whole, or a slice now and the rest across frames), and makes it current.
    QOXRing* AddRing(QOXRing* ring, QAScan scan = QAScan::Whole);
    // The rings the command line asks for, after the start-up rings: one for each target in
    // order, so the last is current; a file becomes the keyboard cursor's current element (its
    // folder is then read whole first).
    void OpenStartTargets(const std::vector<QAStartTarget>& targets);
    void SetCurrentRing(QOXRing* ring);
    // Tab and Ring > "Next Ring": the ring after the current one in opening order becomes current
    // (the first after the last, or when none is current, so a minimised ring comes back); nothing
    // without rings.
    void SwitchRing();
    QOXRing* FindRing(const std::string& folder) const;
    QOXRing* RingAt(int index) const;
    void RefreshAll();
    // Refreshes one ring; false when its folder is gone, and the ring with it (closed as by
    // CloseRing).
    bool RefreshRing(QOXRing* ring);
    // The rings' part of a frame: every ring's Update in list order, then the automatic refresh
    // once "AutoRefreshTime" seconds of frame time have passed (never when it is 0), and the
    // progress in status panel 4.
    void UpdateRings(float frameSeconds);
    // The disk's part of a frame, after its drawing, so that a frame shows at once what there is:
    // the folders still coming in read on, and the sizes counted in the background and the
    // changes seen on the disk handed to the rings (when "CountFolderSizesInBackground" is on).
    void FollowDisk(float frameSeconds);
    // The frame's slice of the scans that run across frames, the current ring's first.
    void ContinueScans();
    void ApplyDisplayChange() override;
    void DeleteSelectedInCurrentRing();
    void CollectSelectedInCurrentRing(QRList<QRElement>& marked);
    void DeselectAllRings();
    // Frees a ring of the list (making no ring current first when it is the current one).
    void CloseRing(QOXRing* ring);
    void CloseAllRings();
    bool AllRingsMinimized() const;

    std::string DriveLabel(const std::string& path) const;
    static std::string SpecialFolder(const std::string& variable);
    static std::string DocumentsFolder();

    // Watchers are told about every element as it is freed (not owned; they unwatch themselves).
    void WatchElements(QRElementWatcher* watcher);
    void UnwatchElements(QRElementWatcher* watcher);
    void ElementFreed(const QRElement* element);
    void SetStatusText(QAStatusPanel panel, const std::string& text) const;
    void SetCaption(const std::string& caption);
    // The main window is the active one: the user is looking at it.
    bool HasKeyboardFocus() const;

    QASettings Settings;
    QXColor FolderColour = kDefaultFolderColour;
    QXColor FileColour = kDefaultFileColour;
    QOXRing* CurrentRing = nullptr; // not owned; one of Rings or none
    float RefreshClock = 0.0f;
    std::string Caption; // the window caption as last set
    // Made by Init and freed at shut-down; none before Init.
    QOXGL* Device = nullptr;        // owned as a child; the GL device on the view, with its engines
    GLSceneApp* SceneApp = nullptr; // owned as a child; the application scene
    QOXInput* Input = nullptr;      // owned as a child
    QACursor* TheCursor = nullptr;  // owned as a child; the Cursor link points at it
    QAKeyboard* Keys = nullptr;     // owned as a child; the keyboard cursor
    std::unique_ptr<GLAppSceneHost> SceneHost; // owned; what the scene reads of window and cursor
    // Owned; from PrefetchPictures to the end of Init.
    std::unique_ptr<QRPicturePrefetch> Pictures;
    QRList<QOXRing>* Rings = nullptr; // owned as a child; owns the rings, in opening order
    QOXViewEngine* Views = nullptr;   // owned as a child
    QOXFavoriteEngine* Favorites = nullptr; // owned as a child; holds the recent folders

    QAWindowLink* Window = nullptr;   // not owned; the main window
    QAMenuLink* Menus = nullptr;      // not owned; the window's context menus, handed to the cursor
    QAMenuBarLink* MenuBar = nullptr; // not owned; the main menu's data items
    QADialogLink* Dialogs = nullptr;  // not owned; the dialogs
    QASceneLink* Scene = nullptr;     // not owned; the application scene
    QACursorLink* Cursor = nullptr;   // not owned; the cursor
    QRDeletion* Deletion = nullptr;   // not owned; the cursor's file operations
    // What the cursor's file commands ask of the window, handed to the cursor at start-up.
    QAFileDialogs* FileDialogs = nullptr;        // not owned; confirmation, rename and new-name dialogs
    platform::OverwritePrompt* Overwrite = nullptr; // not owned; the overwrite dialog
    platform::ProgressView* Progress = nullptr;  // not owned; the progress window and the events
    platform::KeyboardModifiers* Modifiers = nullptr; // not owned; the modifier keys of the moment
    platform::FileClipboard* Clipboard = nullptr; // not owned; the desktop's clipboard
    // Owned; the background counting of folder sizes and the live rings, driven by FollowDisk.
    std::unique_ptr<QASizes> Sizes;
    QAPictureWatch Picture; // whether a frame has anything new to draw
    long DrawnFrames = 0;   // frames drawn since start-up
    QAFrameStats FrameStats; // a line per drawn frame, when asked for
    // How long a frame reads folders of rings whose scans run across frames (a part at least),
    // and how long a new ring reads before it is first shown.
    std::chrono::milliseconds ScanSlice{30};
    std::chrono::milliseconds FirstScanSlice{10};

protected:
    ~QOXApp() override;
    void BeforeDestroy() override;

private:
    // Start-up and shut-down parts (app_startup.cpp).
    void LogStartBanner() const;
    void StartDevice(platform::GLBinding* view);
    void StartScene();
    void StartInput(platform::InputSystem* input);
    void StartCursor();
    void StartLists();
    void ShowFirstRing();
    void FreeParts();
    void FreeDeviceAndInput();
    void MakeContextCurrent() const;
    // Status panel 4: the current ring's scan under way, else its count.
    void ShowProgress();
    // Frame parts (app_frame.cpp).
    bool FrameTimerEnabled() const;
    bool ActionDown(const char* action, const char* group) const;
    void MoveRing(QOXRing& ring) const;
    // Root changes (app_roots.cpp): the ring shows `folder` (an existing folder, ending in "/").
    void MoveRoot(QOXRing& ring, const std::string& folder);
    // One step through the ring's history: the root it shows joins `to` and one from `from` is shown.
    void StepRoot(std::vector<std::string>& from, std::vector<std::string>& to);
    // The ring follows the view: its scale on screen, its fit after an expand or collapse.
    void FollowView(QOXRing& ring) const;

    std::vector<QRElementWatcher*> Watchers; // not owned
    std::string ProgressShown; // what status panel 4 shows
};

// The one application of the process: set while it exists.
QOXApp* App();

// Shows the busy pointer for as long as it lives.
class QABusy {
public:
    explicit QABusy(const QOXApp& app);
    ~QABusy();
    QABusy(const QABusy&) = delete;
    QABusy& operator=(const QABusy&) = delete;

private:
    QAWindowLink* Window = nullptr; // not owned
};
