// The keyboard cursor through the real main window: keys typed into the GL view on real rings.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <functional>
#include <set>

#include "app/app_actions.h"
#include "app/app_cursor.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "forms/find_bar.h"
#include "forms/main.h"
#include "forms/panel_view.h"
#include "input/input_main.h"
#include "platform/desktop_services.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

class KeyboardTest : public FormTest {
protected:
    // Two sub-folders (docs with two files, music) and three files on the tree's ring.
    void StartOnTree()
    {
        Tree.File("docs/one.txt", 10);
        Tree.File("docs/two.txt", 10);
        Tree.MakeFolder("music");
        for (const char* name : {"Bären", "bärlauch", "Café Menu.txt"})
            Tree.File(name, 10);
        Start();
        Settle();
    }
    QRElement* Root() const { return CurrentRing()->Root; }
    QRElement* Named(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
    QREFolder* Docs() const { return static_cast<QREFolder*>(Named("docs/")); }
    // The visible children of a folder in ring order.
    static std::vector<QRElement*> Children(const QREFolder* folder)
    {
        std::vector<QRElement*> children;
        folder->ForEachChild([&](QRElement* child) {
            if (child->Visible)
                children.push_back(child);
        });
        return children;
    }
    QRElement* Current() const { return App()->TheCursor->CurrentElement; }
    // Types the text into the view one character at a time, as a keyboard with those letters would.
    void TypeIntoView(const QString& text)
    {
        for (const QChar letter : text) {
            const int key = letter == ' ' ? static_cast<int>(Qt::Key_Space) : static_cast<int>(letter.toUpper().unicode());
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, key, Qt::NoModifier, QString(letter));
                QCoreApplication::sendEvent(GLView(), &event);
            }
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(GLView(), key, modifiers);
        WaitFrames(1);
    }
    std::set<std::string> SelectedNames() const
    {
        std::set<std::string> names;
        App()->CurrentRing->Root->ForEachChild([&](QRElement* child) {
            if (child->Selected)
                names.insert(child->Name);
        });
        return names;
    }
    void Drag(const QRElement* from, const QRElement* to)
    {
        MoveTo(ViewPointOf(from));
        QTest::mousePress(GLView(), Qt::LeftButton, Qt::NoModifier, ViewPointOf(from));
        WaitFrames(1);
        MoveTo(ViewPointOf(to));
        QTest::mouseRelease(GLView(), Qt::LeftButton, Qt::NoModifier, ViewPointOf(to));
        WaitFrames(1);
    }

    platform::RecordingDesktopServices Recorder; // outlives the window
};

TEST_F(KeyboardTest, EachKeyMovesTheCurrentElementAsItSays)
{
    StartOnTree();
    const std::vector<QRElement*> top = Children(Docs()->Parent);
    ASSERT_EQ(top.size(), 5u);
    struct Case {
        const char* What;
        std::function<QRElement*()> From;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        std::function<QRElement*()> Expected;
    };
    const Case cases[] = {
        {"Right: the next sibling", [&] { return top[0]; }, Qt::Key_Right, Qt::NoModifier, [&] { return top[1]; }},
        {"Left wraps to the last", [&] { return top[0]; }, Qt::Key_Left, Qt::NoModifier, [&] { return top[4]; }},
        {"Right wraps to the first", [&] { return top[4]; }, Qt::Key_Right, Qt::NoModifier, [&] { return top[0]; }},
        {"Up: the parent", [&] { return top[2]; }, Qt::Key_Up, Qt::NoModifier, [&] { return Root(); }},
        {"Up on the root stays", [&] { return Root(); }, Qt::Key_Up, Qt::NoModifier, [&] { return Root(); }},
        {"Down: the first child", [&] { return Root(); }, Qt::Key_Down, Qt::NoModifier, [&] { return top[0]; }},
        {"Down expands a collapsed folder", [&] { return Docs(); }, Qt::Key_Down, Qt::NoModifier,
         [&] { return Children(Docs()).at(0); }},
        {"Left inside the folder wraps there", [&] { return Children(Docs()).at(0); }, Qt::Key_Left, Qt::NoModifier,
         [&] { return Children(Docs()).at(1); }},
        {"Up from inside the folder", [&] { return Children(Docs()).at(1); }, Qt::Key_Up, Qt::NoModifier,
         [&] { return Docs(); }},
        {"Down on a file stays", [&] { return top[4]; }, Qt::Key_Down, Qt::NoModifier, [&] { return top[4]; }},
        {"Home: the root", [&] { return Children(Docs()).at(0); }, Qt::Key_Home, Qt::NoModifier, [&] { return Root(); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        App()->Keys->MoveTo(test.From());
        Key(test.Key, test.Modifiers);
        EXPECT_EQ(Current(), test.Expected());
        EXPECT_EQ(App()->Keys->MarkedElement(), Current());
    }
    EXPECT_TRUE(Docs()->Expanded);
    App()->Keys->MoveTo(top[1]);
    Settle();
    EXPECT_EQ(App()->SceneApp->HoverElement, top[1]) << "the info box follows the keys while the pointer is still";
    MoveTo(ViewPointOf(top[3]));
    WaitFrames(1);
    EXPECT_EQ(App()->SceneApp->HoverElement, top[3]) << "and the pointer once it moves";
}

TEST_F(KeyboardTest, EnterExpandsCollapsesAndOpensWhileGoingUpStopsAtTheTop)
{
    StartOnTree();
    Form->TheEngine->SetDesktop(&Recorder);
    App()->Keys->MoveTo(Docs());
    Key(Qt::Key_Return);
    EXPECT_TRUE(Docs()->Expanded);
    Key(Qt::Key_Enter);
    EXPECT_FALSE(Docs()->Expanded);
    App()->Keys->MoveTo(Named("bärlauch"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Recorder.OpenedDocuments, std::vector<std::string>{Tree.PathOf("bärlauch")});

    struct Case {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
    };
    for (const Case& test : {Case{Qt::Key_Backspace, Qt::NoModifier}, Case{Qt::Key_Up, Qt::AltModifier}}) {
        App()->CurrentRing->SetFolder(Tree.PathOf("docs/"));
        App()->CurrentRing->Relayout();
        Key(test.Key, test.Modifiers);
        EXPECT_EQ(CurrentRing()->Folder, Tree.Root());
        EXPECT_NE(ChildNamed(*CurrentRing()->Root, "docs/"), nullptr);
    }
    App()->CurrentRing->SetFolder("/");
    App()->CurrentRing->Relayout();
    Key(Qt::Key_Backspace);
    EXPECT_EQ(CurrentRing()->Folder, "/") << "nothing above the root";
}

TEST_F(KeyboardTest, KeysSelectWhatTheSameClicksAndDragsSelect)
{
    StartOnTree();
    const std::vector<QRElement*> top = Children(Docs()->Parent);
    struct Case {
        const char* What;
        std::function<void()> Keys;
        std::function<void()> Mouse;
        std::set<std::string> Expected;
    };
    const Case cases[] = {
        {"Ctrl+Space flips one as an Invert click",
         [&] {
             App()->Keys->MoveTo(top[2]);
             Key(Qt::Key_Space, Qt::ControlModifier);
         },
         [&] {
             QTest::keyPress(GLView(), Qt::Key_Control);
             Click(ViewPointOf(top[2]));
             QTest::keyRelease(GLView(), Qt::Key_Control);
         },
         {top[2]->Name}},
        {"Shift+Right twice extends a range as a drag",
         [&] {
             App()->Keys->MoveTo(top[1]);
             Key(Qt::Key_Right, Qt::ShiftModifier);
             Key(Qt::Key_Right, Qt::ShiftModifier);
         },
         [&] { Drag(top[1], top[3]); },
         {top[1]->Name, top[2]->Name, top[3]->Name}},
        {"Ctrl+A selects the whole folder", [&] {
             App()->Keys->MoveTo(top[3]);
             Key(Qt::Key_A, Qt::ControlModifier);
         },
         [&] { Drag(top[0], top[4]); },
         {top[0]->Name, top[1]->Name, top[2]->Name, top[3]->Name, top[4]->Name}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        App()->DeselectAllRings();
        test.Keys();
        const std::set<std::string> byKeys = SelectedNames();
        EXPECT_EQ(byKeys, test.Expected);
        App()->DeselectAllRings();
        Settle();
        test.Mouse();
        EXPECT_EQ(SelectedNames(), byKeys);
    }
}

TEST_F(KeyboardTest, TheMenuKeysOpenTheElementMenuWhereTheElementLies)
{
    StartOnTree();
    struct Case {
        QRElement* Element;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        std::vector<const char*> Shown;
        std::vector<const char*> Hidden;
    };
    const Case cases[] = {
        {Named("bärlauch"), Qt::Key_Menu, Qt::NoModifier, {"CMOpen", "CMRename"}, {"CMExpand", "CMNew", "CMRingClose"}},
        {Docs(), Qt::Key_F10, Qt::ShiftModifier, {"CMRename", "CMExpand", "CMNew"}, {"CMRingClose", "CMUpOneLevel"}},
        {Root(), Qt::Key_Menu, Qt::NoModifier, {"CMRingMinimize", "CMRingClose", "CMUpOneLevel"}, {"CMRename", "CMExpand"}},
    };
    QMenu* menu = Form->Menus().PopUpMenu(QAMenu::Element);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Element->FullPath());
        App()->Keys->MoveTo(test.Element);
        Settle();
        const QPoint at = Form->PanelView->mapToGlobal(ViewPointOf(test.Element));
        Key(test.Key, test.Modifiers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        for (const char* name : test.Shown)
            EXPECT_TRUE(Item(name)->isVisible()) << name;
        for (const char* name : test.Hidden)
            EXPECT_FALSE(Item(name)->isVisible()) << name;
        EXPECT_LE((menu->geometry().topLeft() - at).manhattanLength(), 4);
        EXPECT_TRUE(test.Element->Selected);
        menu->hide();
        Form->activateWindow();
        Form->PanelView->TakeFocus();
        WaitFrames(1);
    }
}

TEST_F(KeyboardTest, TypingANameJumpsToItWhateverItsCase)
{
    StartOnTree();
    QAKeyboard* keys = App()->Keys;
    struct Case {
        const char* Typed;
        const char* Expected;
    };
    const Case cases[] = {{"BÄRL", "bärlauch"}, {"bäre", "Bären"}, {"café m", "Café Menu.txt"}, {"mu", "music/"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Typed);
        App()->Keys->MoveTo(Root());
        TypeIntoView(QString::fromUtf8(test.Typed));
        EXPECT_EQ(Current(), Named(test.Expected));
        EXPECT_EQ(QString::fromStdString(keys->TypedText()), QString::fromUtf8(test.Typed));
        const float typedAt = Form->TheEngine->Timer->GetRunningTime();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Form->TheEngine->Timer->GetRunningTime() > typedAt + QAKeyboard::kTypingSeconds; }, 5000));
        WaitFrames(1);
        EXPECT_EQ(keys->TypedText(), "") << "the typed name is forgotten after a second";
    }
}

TEST_F(KeyboardTest, TheFindBarMarksEveryNameHoldingItsTextAndStepsThroughThem)
{
    StartOnTree();
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Form->FindBar->isVisible());
    QLineEdit* line = Form->FindBar->Line();
    EXPECT_EQ(QApplication::focusObject(), line);
    struct Case {
        const char* Text;
        std::vector<const char*> Matches;
    };
    const Case cases[] = {{"MENU", {"Café Menu.txt"}}, {"ÄR", {"Bären", "bärlauch"}}, {"é m", {"Café Menu.txt"}},
                          {"u", {"music/", "bärlauch", "Café Menu.txt"}}, {"zzz", {}}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Text);
        line->setText(QString::fromUtf8(test.Text));
        std::set<const QRElement*> expected;
        for (const char* name : test.Matches)
            expected.insert(Named(name));
        EXPECT_EQ(std::set<const QRElement*>(App()->Keys->Matches.begin(), App()->Keys->Matches.end()), expected);
        EXPECT_EQ(Form->FindBar->CountLabel()->text(), QString("%1 found").arg(test.Matches.size()));
    }
    line->setText("ÄR");
    App()->Keys->MoveTo(Root());
    QTest::keyClick(line, Qt::Key_Return);
    QRElement* first = Current();
    EXPECT_TRUE(App()->Keys->IsMatch(first));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(App()->Keys->IsMatch(Current()));
    EXPECT_NE(Current(), first);
    QTest::keyClick(line, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Current(), first);
    QTest::keyClick(line, Qt::Key_Space, Qt::ControlModifier); // selects what the bar went to
    EXPECT_TRUE(first->Selected);
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_FALSE(Form->FindBar->isVisible());
    EXPECT_TRUE(App()->Keys->Matches.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusObject() == GLView(); }, 2000))
        << "the keyboard goes back to the view";
}

TEST_F(KeyboardTest, TabSpaceAndTheModifiersKeepTheirMeaningsAndNothingStaysHeld)
{
    StartOnTree();
    QOXRing* first = CurrentRing();
    QOXRing* second = App()->CreateRing(Tree.PathOf("docs"));
    App()->Keys->MoveTo(Children(second->Root).at(0));
    Key(Qt::Key_Right);
    PressForAFrame(Qt::Key_Tab);
    EXPECT_EQ(CurrentRing(), first) << "Tab switches rings after the arrows";
    const float zoom = CurrentRing()->Zoom;
    struct Case {
        Qt::Key Key;
        const char* Action;
        const char* Group;
    };
    const Case cases[] = {{Qt::Key_Space, kActionDisplayRings, kGroupRings}, {Qt::Key_Control, kActionInvert, kGroupSelection},
                          {Qt::Key_Control, kActionPan, kGroupMovement}, {Qt::Key_Shift, kActionAdd, kGroupSelection},
                          {Qt::Key_Shift, kActionZoom, kGroupMovement}, {Qt::Key_Alt, kActionRotate, kGroupMovement}};
    QOXInput* input = App()->Input;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Action);
        QTest::keyPress(GLView(), test.Key);
        WaitFrames(1);
        EXPECT_TRUE(input->IsDown(test.Action, test.Group));
        QTest::keyRelease(GLView(), test.Key);
        WaitFrames(1);
        EXPECT_FALSE(input->IsDown(test.Action, test.Group));
    }
    App()->Keys->MoveTo(Named("music/"));
    QTest::keyPress(GLView(), Qt::Key_Shift);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyRelease(GLView(), Qt::Key_Shift);
    EXPECT_TRUE(Named("music/")->Selected) << "Shift held: a range";
    Key(Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_Space, Qt::ControlModifier);
    WaitFrames(1);
    for (const char* action : {kActionDisplayRings, kActionInvert, kActionAdd, kActionRotate, kActionSwitchRing})
        EXPECT_FALSE(input->IsDown(action, "")) << action << " stays held";
    EXPECT_FLOAT_EQ(CurrentRing()->Zoom, zoom) << "Shift with an arrow does not zoom";
}

TEST_F(KeyboardTest, PlusAndMinusZoomByTheWheelsStepsAndCtrlZeroResetsTheView)
{
    StartOnTree();
    QOXRing* ring = CurrentRing();
    ring->Zoom = 2.0f;
    Key(Qt::Key_Plus);
    EXPECT_FLOAT_EQ(ring->Zoom, 2.4f);
    Key(Qt::Key_Minus);
    EXPECT_FLOAT_EQ(ring->Zoom, 1.92f);
    ring->Rotation.Z = 40.0f;
    Key(Qt::Key_0, Qt::ControlModifier);
    Settle();
    EXPECT_NEAR(ring->Rotation.Z, 0.0f, 1e-3f);
    EXPECT_NEAR(ring->Zoom, 1.1f, 1e-3f);
}

} // namespace
