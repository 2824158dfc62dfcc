#pragma once
// The program's main window: the view panel with the GL view, the main menu, the three pop-up
// menus, the status bar with its five panels and the two timers. It makes the engine and the
// application, starts them from the start-up timer, runs a frame on every tick of the frame timer,
// hands the view's mouse events to the cursor and the menu commands to the application and the
// cursor, and frees everything as it closes.
#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/app_command_line.h"
#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_links.h"
#include "forms/dialogs.h"
#include "forms/file_dialogs.h"
#include "forms/main_menus.h"
#include "lists/favorite_recent.h"
#include "platform/qt_desktop_services.h"
#include "platform/qt_file_clipboard.h"
#include "platform/qt_gl_binding.h"
#include "platform/keyboard_modifiers.h"
#include "platform/qt_input.h"
#include "platform/qt_window_timer.h"

class QLabel;
class QTimer;
class QOXApp;
class QOXEngine;
class TDragSource;
class TDropTarget;
class TFindBar;
class TPanelView;
class TPathBar;
class TSidePanel;

class TFormMain : public QMainWindow, public QAWindowLink, public QAMenuLink, public QAFWindowPlacement {
public:
    static constexpr int kStartUpInterval = 1;  // milliseconds
    static constexpr int kFrameInterval = 50;   // milliseconds
    static constexpr int kStatusPanels = 5;

    // FormCreate: the window, the engine and the application; nothing starts before the start-up
    // timer fires, which opens the rings of the settings and then one for each start target.
    explicit TFormMain(std::vector<QAStartTarget> startTargets = {});
    ~TFormMain() override;

    // The handlers of the window, its timers and its view.
    void StartUpTimerTimer();
    void TimerTimer();
    void FormResize();
    void FormCloseQuery();
    void FormClose();
    void PanelViewMouseDown(QAMouseButton button);
    void PanelViewMouseMove(float x, float y);
    void PanelViewMouseUp();
    void PanelViewDblClick();
    void PanelViewKeyPress(const QAKeyPress& press);

    // The main window as the application sees it.
    void SetCaption(const std::string& caption) override;
    void SetStatusText(QAStatusPanel panel, const std::string& text) override;
    void SetBusy(bool busy) override;
    void SettingsLoaded(const QASettings& settings) override;
    void SetTaskBarTitle(const std::string& title) override;
    QAViewSize ViewSize() const override;
    bool ViewShown() const override;
    // ... as the cursor sees it.
    void PopUpMenu(QAMenu menu, const QAMenuItems& shown) override;
    void PopUpMenuAt(QAMenu menu, const QAMenuItems& shown, QAPoint at) override;
    bool WindowActive() const override;
    // ... as the recent file sees it: a maximised window gives the placement it returns to.
    bool IsMaximized() const override;
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void Place(int left, int top, int width, int height) override;
    void SetMaximized(bool maximized) override;

    TMainMenus& Menus() { return *MainMenus; }
    TPanelView* PanelView = nullptr; // owned by the central widget
    TFindBar* FindBar = nullptr;     // owned by the central widget, below the view
    TPathBar* PathBar = nullptr;     // owned by the central widget, above the view
    TSidePanel* SidePanel = nullptr; // owned as a dock widget, right of the view
    std::array<QLabel*, kStatusPanels> StatusPanels{}; // owned by the status bar
    QTimer* StartUpTimer = nullptr; // owned as a child
    QTimer* Timer = nullptr;        // owned as a child
    QOXEngine* TheEngine = nullptr; // owned; freed at close, after the application
    QOXApp* Application = nullptr;  // owned; freed at close
    long Frames = 0;                // frames run since start-up
    long ListedFrame = -1;          // the drawn frame the list last followed; -1: follow at the next

    // Gives the keyboard back to the view (to the path or find bar while it is open), unless a dialog, box
    // or menu is still up.
    void KeysBackToView();

protected:
    // Notices dialogs and boxes closing anywhere in the program.
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Every way into the application (timers, menu commands, mouse handlers, resizing) runs as an
    // entry: no frame starts while another entry runs, also inside a modal box or dialog that the
    // entry opened, and a close asked for meanwhile waits until the last entry has returned.
    // Any entry but the frame may have changed what the view shows, so the next frame draws.
    enum class EntryKind { Event, Frame };
    void Enter(const std::function<void()>& work, EntryKind kind = EntryKind::Event);
    void RunCommand(const std::function<void()>& command);
    bool Started() const;
    bool OnScreen() const;
    void BuildStatusBar();
    void ConnectView();
    void ConnectFindBar();
    void ConnectPathBar();
    void ConnectSidePanel();
    void SyncSidePanel();
    void KeepSidePanelState();
    void ApplySidePanelState(const QASettings& settings);
    void ShowProperties();
    void CloseFindBar();
    void ConnectCommands();
    void ConnectToggles();
    void ReleaseInputOnMenus();
    void ReturnKeysAfterDialogs();
    void OfferUndoOnEditMenu();
    void OfferHiddenItems();
    void RegisterDragAndDrop();
    // The icon of every window: the desktop entry's in the icon theme, else the program's picture.
    void ShowWindowIcon();
    QRect NormalPlacement() const;

    platform::QtDesktopServices Desktop{this};
    std::unique_ptr<TMainMenus> MainMenus;
    std::unique_ptr<platform::QtGLBinding> Binding;
    std::unique_ptr<platform::QtInput> Input;
    std::unique_ptr<platform::QtWindowTimer> StartUpTimerLink;
    std::unique_ptr<platform::QtWindowTimer> TimerLink;
    TDialogs Dialogs{this};
    TFileDialogs FileDialogs{this};
    platform::QtKeyboardModifiers Modifiers;
    platform::QtFileClipboard Clipboard;
    std::unique_ptr<TDropTarget> DropTarget; // registered on the view from start-up to close
    std::unique_ptr<TDragSource> DragSource; // the cursor's drags out of the view, from start-up on
    std::vector<QAStartTarget> StartTargets; // the command line's rings, opened at start-up
    QElapsedTimer SinceCreated;
    int Entries = 0;
    bool CloseWhenIdle = false;
};
