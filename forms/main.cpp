#include "forms/main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "forms/drag_source.h"
#include "forms/drop_target.h"
#include "forms/find_bar.h"
#include "forms/panel_view.h"
#include "forms/path_bar.h"
#include "forms/side_panel.h"

namespace {

constexpr int kInitialLeft = 273;
constexpr int kInitialTop = 184;
constexpr int kInitialWidth = 495;
constexpr int kInitialHeight = 391;
constexpr int kStatusBarHeight = 19;
constexpr qint64 kLongestWaitForScreen = 2000; // milliseconds

// Fixed: the panel keeps its width. AtLeast: it widens to show the whole of a longer text.
enum class PanelWidth { Fixed, AtLeast };

struct StatusPanel {
    const char* Text;
    int Width; // 0: takes the room the others leave
    PanelWidth Kind = PanelWidth::Fixed;
};

// The last panel shows the progress of the background count ("Counting… 1234 folders").
constexpr StatusPanel kPanelLayout[TFormMain::kStatusPanels] = {
    {"Folders: 0", 100}, {"Files: 0", 100}, {"Size: -1", 0}, {"Files to Copy: 0", 120}, {"", 50, PanelWidth::AtLeast},
};

// Counts an entry for as long as it lives.
class EntryScope {
public:
    explicit EntryScope(int& entries) : Entries(entries) { ++Entries; }
    ~EntryScope() { --Entries; }
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

private:
    int& Entries;
};

} // namespace

TFormMain::TFormMain(std::vector<QAStartTarget> startTargets) : StartTargets(std::move(startTargets))
{
    setObjectName("FormMain");
    setWindowTitle("Orbivane");
    move(kInitialLeft, kInitialTop);
    resize(kInitialWidth, kInitialHeight);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PanelView = new TPanelView(central);
    FindBar = new TFindBar(central);
    PathBar = new TPathBar(central);
    layout->addWidget(PathBar);
    layout->addWidget(PanelView, 1);
    layout->addWidget(FindBar);
    setCentralWidget(central);
    SidePanel = new TSidePanel(this);
    addDockWidget(Qt::RightDockWidgetArea, SidePanel);
    MainMenus = std::make_unique<TMainMenus>(*this, [this](const std::function<void()>& command) { RunCommand(command); });
    BuildStatusBar();
    StartUpTimer = new QTimer(this);
    StartUpTimer->setObjectName("StartUpTimer");
    StartUpTimer->setInterval(kStartUpInterval);
    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setInterval(kFrameInterval);
    StartUpTimerLink = std::make_unique<platform::QtWindowTimer>(StartUpTimer);
    TimerLink = std::make_unique<platform::QtWindowTimer>(Timer);
    Binding = std::make_unique<platform::QtGLBinding>(PanelView->GLView());
    Input = std::make_unique<platform::QtInput>(PanelView);
    ConnectView();
    ConnectFindBar();
    ConnectPathBar();
    ConnectSidePanel();
    ConnectCommands();
    ConnectToggles();
    ReleaseInputOnMenus();
    ReturnKeysAfterDialogs();
    OfferUndoOnEditMenu();
    OfferHiddenItems();
    connect(StartUpTimer, &QTimer::timeout, this, [this] { StartUpTimerTimer(); });
    connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });

    TheEngine = QOXNew<QOXEngine>(&Desktop);
    Application = QOXNew<QOXApp>(nullptr);
    Application->PrefetchPictures();
    Application->Window = this;
    Application->Menus = this;
    Application->MenuBar = MainMenus.get();
    Application->Dialogs = &Dialogs;
    Application->FileDialogs = &FileDialogs;
    Application->Overwrite = &FileDialogs;
    Application->Progress = &FileDialogs;
    Application->Modifiers = &Modifiers;
    Application->Clipboard = &Clipboard;
    Application->Favorites->Recent->Window = this;
    // Only the idle benchmark draws frames that show nothing new, to measure what leaving them out saves.
    if (qEnvironmentVariableIsSet("ORBIVANE_DRAW_EVERY_FRAME"))
        Application->Picture.Mode = QADrawing::EveryFrame;
    SinceCreated.start();
    StartUpTimer->start();
}

TFormMain::~TFormMain()
{
    qApp->removeEventFilter(this);
    FormClose();
}

void TFormMain::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    for (int index = 0; index < kStatusPanels; ++index) {
        const StatusPanel& panel = kPanelLayout[index];
        auto* label = new QLabel(panel.Text, bar);
        label->setObjectName(QString("StatusPanel%1").arg(index));
        if (panel.Kind == PanelWidth::AtLeast)
            label->setMinimumWidth(panel.Width);
        else if (panel.Width > 0)
            label->setFixedWidth(panel.Width);
        bar->addWidget(label, panel.Width > 0 ? 0 : 1);
        StatusPanels[static_cast<std::size_t>(index)] = label;
    }
}

void TFormMain::ConnectView()
{
    PanelView->OnMouseDown = [this](QAMouseButton button) { PanelViewMouseDown(button); };
    PanelView->OnMouseMove = [this](float x, float y) { PanelViewMouseMove(x, y); };
    PanelView->OnMouseUp = [this] { PanelViewMouseUp(); };
    PanelView->OnDoubleClick = [this] { PanelViewDblClick(); };
    PanelView->OnKeyPress = [this](const QAKeyPress& press) { PanelViewKeyPress(press); };
    // Uncovered again, the view shows the last picture only if the window system kept it: the next
    // frame draws it, or, while a dialog or box waits and no frame runs, it is drawn again at once.
    PanelView->GLView()->OnExposed = [this] {
        if (Application == nullptr)
            return;
        Application->Picture.Invalidate();
        if (Entries > 0 && Started() && QApplication::activeModalWidget() != nullptr)
            Application->DrawStillFrame();
    };
}

void TFormMain::ConnectFindBar()
{
    FindBar->OnFind = [this](const std::string& text) {
        int found = 0;
        RunCommand([this, &text, &found] { found = Application->Keys->Find(text); });
        return found;
    };
    FindBar->OnNext = [this](QAStep step) { RunCommand([this, step] { Application->Keys->FindNext(step); }); };
    FindBar->OnToggleSelection = [this] { RunCommand([this] { Application->Keys->ToggleSelection(); }); };
    FindBar->OnClose = [this] { CloseFindBar(); };
}

// A folder chosen in the path bar becomes the current ring's root; the keyboard returns to the
// view once the bar is done with it.
void TFormMain::ConnectPathBar()
{
    PathBar->OnChoose = [this](const std::string& folder) {
        bool went = false;
        RunCommand([this, &went, folder] { went = Application->ChangeRoot(folder); });
        return went;
    };
    PathBar->OnEditEnded = [this] { KeysBackToView(); };
}

void TFormMain::CloseFindBar()
{
    RunCommand([this] { Application->Keys->EndFind(); });
    KeysBackToView();
}

// Without a window manager, or with one that hands the focus elsewhere, the keyboard would go
// nowhere once a dialog or box has closed, until the view is clicked (and a dialog opened while
// the window is not yet active again would get no keys). After a menu item the view may have lost
// it to the menu's grab.
void TFormMain::ReturnKeysAfterDialogs()
{
    qApp->installEventFilter(this);
    for (QMenu* menu : MainMenus->AllMenus())
        connect(menu, &QMenu::triggered, this, [this] { QTimer::singleShot(0, this, [this] { KeysBackToView(); }); });
}

// A dialog or box takes the keyboard as it opens, and gives it back to the view as it closes.
bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || watched == this)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::Show)
        QTimer::singleShot(0, dialog, [dialog] { dialog->activateWindow(); });
    else if (event->type() == QEvent::Hide)
        QTimer::singleShot(0, this, [this] { KeysBackToView(); });
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::KeysBackToView()
{
    if (!isVisible() || QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr)
        return;
    if (!isActiveWindow())
        activateWindow();
    if (PathBar->Editing())
        PathBar->Line()->setFocus(Qt::OtherFocusReason);
    else if (FindBar->isVisible())
        FindBar->Line()->setFocus(Qt::OtherFocusReason);
    else
        PanelView->TakeFocus();
}

// A menu takes the keyboard and the mouse: the view would never see the keys and buttons held
// now come up.
void TFormMain::ReleaseInputOnMenus()
{
    for (QMenu* menu : MainMenus->AllMenus())
        connect(menu, &QMenu::aboutToShow, this, [this] { Input->ReleaseAll(); });
}

// The start-up waits for the window to be on screen, since the GL view is embedded only then
// (TPanelView::Embed); a window the window system does not show soon (started minimised) starts
// all the same.
bool TFormMain::OnScreen() const
{
    const QWindow* window = windowHandle();
    return (window != nullptr && window->isExposed()) || SinceCreated.elapsed() > kLongestWaitForScreen;
}

void TFormMain::StartUpTimerTimer()
{
    if (!OnScreen())
        return;
    Enter([this] {
        PanelView->Embed();
        TheEngine->Initialize(StartUpTimerLink.get(), TimerLink.get());
        Application->Init(Binding.get(), Input.get());
        Application->OpenStartTargets(StartTargets);
        RegisterDragAndDrop();
        Application->WatchElements(SidePanel);
        PanelView->TakeFocus();
    });
    // The first frame follows the start-up at once, not the frame timer's first tick, which the
    // timer counts from before the device and the scene were made. The icon comes after it: looking
    // it up reads the icon theme's folders and a picture, 10 ms the rings need not wait for.
    QTimer::singleShot(0, this, [this] {
        TimerTimer();
        ShowWindowIcon();
    });
}

void TFormMain::ShowWindowIcon()
{
    const QString picture = QString::fromStdString(TheEngine->FileSystem->TexturesPath + "icon.png");
    QApplication::setWindowIcon(QIcon::fromTheme(QGuiApplication::desktopFileName(), QIcon(picture)));
}

// Drops reach the cursor's drop handler, which exists from the start-up on. A drag out ends with
// the button released where the view did not see it, and perhaps with files moved by the target.
void TFormMain::RegisterDragAndDrop()
{
    DropTarget = std::make_unique<TDropTarget>(Application->TheCursor->DropTarget,
                                               [this](const std::function<void()>& call) { RunCommand(call); });
    PanelView->SetDropHandler(DropTarget.get());
    DragSource = std::make_unique<TDragSource>(PanelView, [this] {
        Input->ReleaseAll();
        RunCommand([this] { Application->RefreshAll(); });
    });
    Application->TheCursor->DragOutLink = DragSource.get();
}

void TFormMain::TimerTimer()
{
    if (Entries > 0 || !Started())
        return;
    Enter([this] {
        TheEngine->Update();
        if (Application == nullptr || !Timer->isActive())
            return;
        ++Frames;
        Application->Frame();
        SyncSidePanel();
        PathBar->ShowFolder(Application->CurrentRing != nullptr ? Application->CurrentRing->Folder : std::string());
    }, EntryKind::Frame);
}

void TFormMain::Enter(const std::function<void()>& work, EntryKind kind)
{
    {
        EntryScope entry(Entries);
        work();
    }
    if (kind == EntryKind::Event && Application != nullptr)
        Application->Picture.Invalidate();
    if (Entries == 0 && CloseWhenIdle) {
        CloseWhenIdle = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

// Commands wait for the start-up: before it the application has no rings, cursor or scene.
void TFormMain::RunCommand(const std::function<void()>& command)
{
    if (Started())
        Enter(command);
}

bool TFormMain::Started() const
{
    return Application != nullptr && Application->TheCursor != nullptr;
}

void TFormMain::FormResize()
{
    if (Started())
        Enter([this] { Application->SetViewportSizes(); });
}

void TFormMain::FormCloseQuery()
{
    Timer->stop();
}

// The application goes first, while the window and its GL view still exist: the recent file
// reads the window's placement and the scene frees its textures on the view's context.
void TFormMain::FormClose()
{
    Timer->stop();
    PanelView->SetDropHandler(nullptr);
    DropTarget.reset();
    if (Application != nullptr) {
        KeepSidePanelState();
        Application->UnwatchElements(SidePanel);
        SidePanel->Sync(nullptr, nullptr);
        Application->Destroy();
    }
    Application = nullptr;
    if (TheEngine != nullptr)
        TheEngine->Destroy();
    TheEngine = nullptr;
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    if (Entries > 0) {
        CloseWhenIdle = true;
        event->ignore();
        return;
    }
    FormCloseQuery();
    FormClose();
    event->accept();
}

// With the GL window holding the keyboard, Qt may leave the main window itself as the focus
// widget after an activation (the list beside the view takes focus): its keys are the view's.
bool TFormMain::event(QEvent* event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (key && QApplication::focusWidget() == this) {
        QCoreApplication::sendEvent(PanelView, event);
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TFormMain::PanelViewMouseDown(QAMouseButton button)
{
    if (Started())
        Enter([this, button] { Application->TheCursor->Press(button); });
}

void TFormMain::PanelViewMouseMove(float x, float y)
{
    if (Started())
        Enter([this, x, y] { Application->TheCursor->Move(x, y); });
}

void TFormMain::PanelViewMouseUp()
{
    if (Started())
        Enter([this] { Application->TheCursor->Release(); });
}

void TFormMain::PanelViewDblClick()
{
    if (Started())
        Enter([this] { Application->TheCursor->OpenCurrent(); });
}

// Ctrl+F belongs to the window, which owns the find bar; every other key goes to the keyboard
// cursor.
void TFormMain::PanelViewKeyPress(const QAKeyPress& press)
{
    if (press.Key == QAKey::F && press.Has(kCtrl)) {
        if (Started())
            FindBar->Open();
        return;
    }
    RunCommand([this, press] { Application->Keys->KeyPress(press); });
}

void TFormMain::SetCaption(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void TFormMain::SetStatusText(QAStatusPanel panel, const std::string& text)
{
    StatusPanels[static_cast<std::size_t>(panel)]->setText(QString::fromStdString(text));
}

void TFormMain::SetBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFormMain::SetTaskBarTitle(const std::string& title)
{
    setWindowIconText(QString::fromStdString(title));
}

QAViewSize TFormMain::ViewSize() const
{
    return {PanelView->width(), PanelView->height()};
}

bool TFormMain::ViewShown() const
{
    return PanelView->IsShown();
}

void TFormMain::PopUpMenu(QAMenu menu, const QAMenuItems& shown)
{
    MainMenus->PopUp(menu, shown, QCursor::pos());
}

void TFormMain::PopUpMenuAt(QAMenu menu, const QAMenuItems& shown, QAPoint at)
{
    const QPoint point(static_cast<int>(at.X), static_cast<int>(at.Y));
    MainMenus->PopUp(menu, shown, PanelView->mapToGlobal(point));
}

bool TFormMain::WindowActive() const
{
    return isActiveWindow();
}

bool TFormMain::IsMaximized() const
{
    return isMaximized();
}

// While maximised the window's own geometry is the screen's; the recent file keeps the placement
// that un-maximising returns to.
QRect TFormMain::NormalPlacement() const
{
    return isMaximized() && normalGeometry().isValid() ? normalGeometry() : geometry();
}

int TFormMain::Left() const
{
    return NormalPlacement().x();
}

int TFormMain::Top() const
{
    return NormalPlacement().y();
}

int TFormMain::Width() const
{
    return NormalPlacement().width();
}

int TFormMain::Height() const
{
    return NormalPlacement().height();
}

void TFormMain::Place(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
}

void TFormMain::SetMaximized(bool maximized)
{
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
}
