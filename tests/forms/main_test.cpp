#include "forms/main.h"

#include <QApplication>
#include <QIcon>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "forms/panel_view.h"
#include "graphics/gl_main.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

// Whether `expected` appears in `lines` in its order, other lines in between.
::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected)
{
    auto next = lines.begin();
    for (const std::string& line : expected) {
        next = std::find(next, lines.end(), line);
        if (next == lines.end())
            return ::testing::AssertionFailure() << "\"" << line << "\" missing or out of order";
        ++next;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(FormTest, StartUpAndShutDownWriteTheirLinesInOrder)
{
    QApplication::setWindowIcon(QIcon());
    Start();
    EXPECT_FALSE(QApplication::windowIcon().pixmap(32).isNull()) << "the windows have their icon after the first frame";
    Quit();
    const std::vector<std::string> lines = Home.LogLines();
    EXPECT_TRUE(InOrder(lines, {
        "QOX Engine: Initializing...", "Application Layer: Initializing...", "Application: Orbivane",
        "Version:     " ORBIVANE_VERSION, "Loading Ini File...", "Loading Recent Ini File...", "QOX GL: Initializing...",
        "Creating Font: \"default\"", "QOX GL: Scene initialized: \"Scene\"!", "Initializing Module: QOX Input",
        "QOX Input: Mouse initialized!", "Loading Views Ini File...", "Loading Favorites Ini File...",
        // shut-down: settings, the lists (recent file last), the scene, then the device and the input
        "Application Layer: Shut down...", "Saving Ini File...", "Saving Views Ini File...",
        "Saving Favorites Ini File...", "Saving Recent Ini File...", "Deleting Texture: \"textures/bg\"",
        "QOX GL: Shut down...", "QOX Input: Shut down...", "QOX Engine: Shut down...",
    }));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.find("ERROR") != std::string::npos; }), 0);
}

TEST_F(FormTest, TheFirstRingFollowsTheInitialRingMode)
{
    Tree.MakeFolder("system");
    Tree.MakeFolder("home/Documents");
    Tree.MakeFolder("own");
    ::setenv("SYSTEMDRIVE", Tree.PathOf("system").c_str(), 1);
    ::setenv("HOME", Tree.PathOf("home").c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    struct Case {
        int Mode;
        std::string Expected; // folder of the ring on screen; empty for none
    };
    const Case cases[] = {
        {-1, ""},
        {0, Tree.PathOf("system/")},
        {1, Tree.PathOf("home/Documents/")},
        {2, Tree.PathOf("own/")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Mode);
        Settings.InitialRingMode = test.Mode;
        Settings.InitialRingFolder = Tree.PathOf("own");
        Start();
        Settle();
        if (test.Expected.empty()) {
            EXPECT_EQ(CurrentRing(), nullptr);
            EXPECT_EQ(Form->windowTitle(), "Orbivane");
        } else {
            ASSERT_NE(CurrentRing(), nullptr);
            EXPECT_EQ(CurrentRing()->Folder, test.Expected);
            EXPECT_TRUE(CurrentRing()->IsFullyShown());
            EXPECT_EQ(Form->windowTitle().toStdString(), "Orbivane - " + test.Expected);
            EXPECT_EQ(Form->windowIconText().toStdString(), test.Expected);
        }
        Quit();
        Form.reset();
    }
}

// The command line's rings open after the ring of the settings, in order, the last one current;
// a file's ring has the file as the cursor's current element.
TEST_F(FormTest, TheCommandLinesRingsOpenAfterTheStartUpRing)
{
    Tree.File("docs/letter.txt", 10);
    Tree.File("music/song.ogg", 1000);
    Tree.File("music/other.ogg", 3000);
    StartTargets = {{Tree.PathOf("docs/"), ""}, {Tree.PathOf("music/"), "song.ogg"}};
    Start();
    Settle();
    std::vector<std::string> folders;
    for (const QOXRing* ring : *App()->Rings)
        folders.push_back(ring->Folder);
    EXPECT_EQ(folders, (std::vector<std::string>{Tree.Root(), Tree.PathOf("docs/"), Tree.PathOf("music/")}));
    ASSERT_NE(CurrentRing(), nullptr);
    EXPECT_EQ(CurrentRing()->Folder, Tree.PathOf("music/"));
    ASSERT_NE(App()->TheCursor->CurrentElement, nullptr);
    EXPECT_EQ(App()->TheCursor->CurrentElement->Name, "song.ogg");
    EXPECT_EQ(App()->Keys->MarkedElement(), App()->TheCursor->CurrentElement);
    Quit();
}

TEST_F(FormTest, ClickingAFolderExpandsItAndTheStatusBarCountsFollow)
{
    Tree.File("docs/a/one.txt", 10);
    Tree.File("docs/b/two.txt", 10);
    Tree.File("docs/c.txt", 10);
    Tree.File("readme.txt", 10);
    Start();
    Settle();
    EXPECT_EQ(Panel(0), "Folders: 1");
    EXPECT_EQ(Panel(1), "Files: 1");
    auto* docs = static_cast<QREFolder*>(ChildNamed(*CurrentRing()->Root, "docs/"));
    Click(ViewPointOf(docs));
    EXPECT_TRUE(docs->Expanded);
    EXPECT_TRUE(docs->Selected);
    WaitFrames(1);
    EXPECT_EQ(Panel(0), "Folders: 3");
    EXPECT_EQ(Panel(1), "Files: 2");
    EXPECT_EQ(Panel(3), "Files to Copy: 0");
}

TEST_F(FormTest, TabSwitchesRingsInOpeningOrder)
{
    Tree.MakeFolder("a");
    Tree.MakeFolder("b");
    Start();
    QOXRing* root = CurrentRing();
    QOXRing* a = App()->CreateRing(Tree.PathOf("a"));
    QOXRing* b = App()->CreateRing(Tree.PathOf("b"));
    ASSERT_EQ(CurrentRing(), b);
    PressForAFrame(Qt::Key_Tab);
    EXPECT_EQ(CurrentRing(), root) << "from the last ring back to the first";
    PressForAFrame(Qt::Key_Tab);
    EXPECT_EQ(CurrentRing(), a);
    EXPECT_EQ(QApplication::focusObject(), GLView()) << "Tab keeps the keyboard in the view";
}

TEST_F(FormTest, TheWheelZoomsWithinItsLimits)
{
    Start();
    QOXRing* ring = CurrentRing();
    const auto turn = [&](int notches) {
        const QPoint at(200, 200);
        QWheelEvent wheel(at, Form->PanelView->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(GLView(), &wheel);
        WaitFrames(1);
    };
    ring->Zoom = 60.0f;
    turn(1);
    EXPECT_FLOAT_EQ(ring->Zoom, 72.0f);
    turn(1);
    turn(1);
    EXPECT_FLOAT_EQ(ring->Zoom, 100.0f);
    ring->Zoom = 0.15f;
    turn(-1);
    EXPECT_FLOAT_EQ(ring->Zoom, 0.12f);
    turn(-1);
    EXPECT_FLOAT_EQ(ring->Zoom, 0.1f);
}

// A middle-button drag turns the ring, with Ctrl held pans it and with Shift held zooms it; the view
// follows the window's size.
TEST_F(FormTest, MiddleDragsTurnPanAndZoomTheRing)
{
    Start();
    QOXRing* ring = CurrentRing();
    struct Case {
        Qt::Key Held; // Qt::Key_unknown: none
        std::function<void(const QXVector& position, const QXVector& rotation, float zoom)> Check;
    };
    const Case cases[] = {
        {Qt::Key_unknown,
         [&](const QXVector&, const QXVector& rotation, float) { EXPECT_FLOAT_EQ(ring->Rotation.Z, rotation.Z + 40.0f); }},
        {Qt::Key_Control,
         [&](const QXVector& position, const QXVector&, float) {
             EXPECT_FLOAT_EQ(ring->Position.X, position.X - 8.0f);
             EXPECT_FLOAT_EQ(ring->Position.Y, position.Y + 2.0f);
         }},
        {Qt::Key_Shift, [&](const QXVector&, const QXVector&, float zoom) { EXPECT_FLOAT_EQ(ring->Zoom, zoom * 0.5f); }},
    };
    const QPoint from(300, 300);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Held);
        Settle();
        MoveTo(from);
        if (test.Held != Qt::Key_unknown)
            QTest::keyPress(GLView(), test.Held);
        QTest::mousePress(GLView(), Qt::MiddleButton, Qt::NoModifier, from);
        WaitFrames(1);
        const QXVector position = ring->Position;
        const QXVector rotation = ring->Rotation;
        const float zoom = ring->Zoom;
        QTest::mouseMove(GLView(), from + QPoint(40, 10));
        WaitFrames(1);
        test.Check(position, rotation, zoom);
        QTest::mouseRelease(GLView(), Qt::MiddleButton, Qt::NoModifier, from + QPoint(40, 10));
        if (test.Held != Qt::Key_unknown)
            QTest::keyRelease(GLView(), test.Held);
    }
    Form->resize(640, 480);
    WaitFrames(1);
    EXPECT_EQ(App()->Device->Width, Form->PanelView->width());
    EXPECT_EQ(App()->Device->Height, Form->PanelView->height());
}

} // namespace
