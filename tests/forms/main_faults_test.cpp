// The faults the main window mends: frames inside modal boxes, keys held past a menu, sizes of
// 2 GiB and more, the placement of a maximised window, and the shut-down's GL context.
#include <GL/gl.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <functional>

#include "app/app_actions.h"
#include "app/app_main.h"
#include "forms/main.h"
#include "graphics/gl_main.h"
#include "input/input_main.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kBoxOpenMilliseconds = 400;

// Closes the first modal box or dialog that opens once it has been open for a while, and counts
// the frames the window ran meanwhile.
class BoxWatcher {
public:
    explicit BoxWatcher(const std::unique_ptr<TFormMain>& form) : Form(form)
    {
        QObject::connect(&Poll, &QTimer::timeout, [this] { Look(); });
        Poll.start(10);
    }

    bool Seen = false;
    long FramesWhileOpen = -1;

private:
    void Look()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || Form == nullptr)
            return;
        if (!Seen) {
            Seen = true;
            FramesAtOpen = Form->Frames;
            Open.start();
        } else if (Open.elapsed() > kBoxOpenMilliseconds && FramesWhileOpen < 0) {
            FramesWhileOpen = Form->Frames - FramesAtOpen;
            box->close();
        }
    }

    const std::unique_ptr<TFormMain>& Form;
    QTimer Poll;
    QElapsedTimer Open;
    long FramesAtOpen = 0;
};

// A frame never runs inside another frame, a menu command or the start-up, also not inside a
// modal box or dialog that one of them opened.
TEST_F(FormTest, NoFrameRunsWhileABoxIsOpen)
{
    struct Case {
        const char* Opener;
        std::function<void()> Open;
    };
    const Case cases[] = {
        {"start-up", [&] {
             // A missing views file is reported in a box while the frame timer already runs.
             std::filesystem::rename(Home.Path() + "views.ini", Home.Path() + "views.kept");
             Launch();
             WaitForFirstFrame();
             std::filesystem::rename(Home.Path() + "views.kept", Home.Path() + "views.ini");
             Form->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
         }},
        {"menu command", [&] { Item("Directory1")->trigger(); }},
        {"frame", [&] {
             GL()->Window->MakeCurrent(GL()->RenderingContext);
             glEnable(0xFFFF); // the frame's error check reports it in a box
             QTest::mouseMove(GLView(), {20, 20}); // so that the next frame is drawn
             WaitFrames(1);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Opener);
        BoxWatcher watcher(Form);
        test.Open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.FramesWhileOpen >= 0; }, 10000));
        EXPECT_EQ(watcher.FramesWhileOpen, 0);
        WaitFrames(2); // and frames go on afterwards
    }
}

// Keys held in the view come up when a menu or another window takes the keyboard.
TEST_F(FormTest, NoKeyStaysHeldAfterAMenuOrAnotherWindow)
{
    Start();
    QMenu* popUp = Form->Menus().PopUpMenu(QAMenu::Background);
    QMenu* fileMenu = Form->Menus().Menu("File1");
    QWidget other;
    struct Case {
        const char* Taker;
        std::function<void()> Take;
        std::function<void()> GiveBack;
    };
    const Case cases[] = {
        {"pop-up menu", [&] { Click({5, 5}, Qt::RightButton); }, [&] { popUp->hide(); }},
        {"main menu", [&] { fileMenu->popup(Form->mapToGlobal(QPoint(10, 30))); }, [&] { fileMenu->hide(); }},
        {"another window",
         [&] {
             other.show();
             other.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
         },
         [&] {
             other.hide();
             Form->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Taker);
        QTest::keyPress(GLView(), Qt::Key_Control);
        QTest::keyPress(GLView(), Qt::Key_Shift);
        WaitFrames(1);
        ASSERT_TRUE(App()->Input->IsDown(kActionPan, kGroupMovement));
        ASSERT_TRUE(App()->Input->IsDown(kActionAdd, kGroupSelection));
        test.Take();
        QTest::qWait(100); // the keys come up while the other part has the keyboard
        test.GiveBack();
        WaitFrames(1);
        EXPECT_FALSE(App()->Input->IsDown(kActionPan, kGroupMovement));
        EXPECT_FALSE(App()->Input->IsDown(kActionInvert, kGroupSelection));
        EXPECT_FALSE(App()->Input->IsDown(kActionZoom, kGroupMovement));
        EXPECT_FALSE(App()->Input->IsDown(kActionAdd, kGroupSelection));
    }
}

// Alt alone (the "Rotate" key) leaves the keyboard in the view, and the next click works the rings.
TEST_F(FormTest, ABareAltLeavesTheKeyboardInTheView)
{
    Tree.MakeFolder("folder/inner");
    Start();
    Settle();
    QTest::keyPress(GLView(), Qt::Key_Alt);
    WaitFrames(1);
    QTest::keyRelease(GLView(), Qt::Key_Alt);
    WaitFrames(1);
    EXPECT_FALSE(Form->menuBar()->hasFocus());
    EXPECT_EQ(QGuiApplication::focusWindow(), GLView());
    auto* folder = static_cast<QREFolder*>(ChildNamed(*CurrentRing()->Root, "folder/"));
    Click(ViewPointOf(folder));
    EXPECT_TRUE(folder->Expanded);
}

// As designed the status bar counts bytes; size-true rings write the size as the info box does.
TEST_F(FormTest, TheStatusBarShowsSizesOfThreeGibibytes)
{
    Settings.ComputeFileSizeAutomatically = true;
    Settings.ComputeFolderSize = true;
    Tree.File("disc.iso", 3ULL << 30);
    for (const auto& [sizeTrue, shown] : {std::pair{false, "Size: 3221225472 Byte"}, std::pair{true, "Size: 3.00 GiB"}}) {
        SCOPED_TRACE(sizeTrue);
        Settings.SizeTrueRings = sizeTrue;
        Start();
        // The folder's size comes from its count, which starts after the first frame.
        EXPECT_TRUE(QTest::qWaitFor([&] { return Panel(2) == shown; }, 10000)) << Panel(2).toStdString() << " instead of " << shown;
        Form->close();
        Form.reset();
    }
}

// The recent file keeps the placement; a maximised window keeps the one it returns to.
TEST_F(FormTest, TheWindowPlacementIsSavedAndRestored)
{
    for (const bool maximized : {false, true}) {
        SCOPED_TRACE(maximized);
        Placement = {140, 110, 720, 540, false};
        Start();
        EXPECT_EQ(Form->geometry(), QRect(140, 110, 720, 540));
        Form->setGeometry(150, 120, 700, 500);
        if (maximized) {
            Form->showMaximized();
            // as a window manager would: the window fills the screen and stays maximised
            Form->windowHandle()->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        }
        QTest::qWait(100);
        Quit();
        const std::string recent = Home.Folder.Read("recent.ini");
        EXPECT_NE(recent.find(std::string("MAXIMIZE       ") + (maximized ? "TRUE" : "FALSE")), std::string::npos) << recent;
        EXPECT_NE(recent.find("LEFT           150\n  TOP            120\n  WIDTH          700\n  HEIGHT         500"),
                  std::string::npos)
            << recent;
        Form.reset();

        Form = std::make_unique<TFormMain>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Frames > 0; }, 20000));
        EXPECT_EQ(Form->isMaximized(), maximized);
        EXPECT_EQ(Form->normalGeometry(), QRect(150, 120, 700, 500));
        Quit();
        Form.reset();
        Placement = {};
    }
}

// Shut-down frees the scene's textures on the program's own context, whatever is current then.
TEST_F(FormTest, ShutDownFreesTheSceneOnItsOwnContext)
{
    Start();
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext other;
    ASSERT_TRUE(other.create());
    ASSERT_TRUE(other.makeCurrent(&surface));
    GLuint names[64] = {};
    glGenTextures(64, names);
    for (GLuint name : names)
        glBindTexture(GL_TEXTURE_2D, name);
    glBindTexture(GL_TEXTURE_2D, 0);
    Quit();
    ASSERT_TRUE(other.makeCurrent(&surface));
    for (GLuint name : names)
        EXPECT_EQ(glIsTexture(name), GL_TRUE) << name;
    glDeleteTextures(64, names);
    other.doneCurrent();
}

} // namespace
