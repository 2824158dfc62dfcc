// The path bar and the ring's history through the real window: a button makes its folder the
// root as Go Up One Level does, Ctrl+L edits the folder as text with "~" and completion, and
// Alt+Left / Alt+Right go back and forth through the roots the ring had.
#include "forms/path_bar.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <string>

#include "app/app_main.h"
#include "forms/main.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

class PathBarTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        const char* home = std::getenv("HOME");
        SavedHome = home != nullptr ? home : "";
        ::setenv("HOME", Tree.Root().c_str(), 1);
    }
    void TearDown() override
    {
        FormTest::TearDown();
        ::setenv("HOME", SavedHome.c_str(), 1);
    }
    TPathBar& Bar() const { return *Form->PathBar; }
    // The last steps of the bar, after a frame has shown the ring's folder.
    QStringList LastSteps(int count)
    {
        WaitFrames(1);
        return Bar().Steps().mid(Bar().Steps().size() - count);
    }
    void ExpectRoot(const std::string& relative) const { EXPECT_EQ(CurrentRing()->Folder, Tree.PathOf(relative)); }

    std::string SavedHome;
};

TEST_F(PathBarTest, ButtonsTextWithHomeAndHistoryMoveTheRingsRoot)
{
    Tree.File("top/a/b/x.txt", 10);
    Tree.File("top/other/y.txt", 10);
    Settings.InitialRingMode = 2;
    Settings.InitialRingFolder = Tree.PathOf("top/a/b");
    Start();
    EXPECT_EQ(LastSteps(3), (QStringList{"top", "a", "b"}));
    EXPECT_EQ(Bar().Steps().front(), "/");

    Bar().ChooseStep(static_cast<int>(Bar().Steps().size()) - 3); // "top"
    ExpectRoot("top/");
    auto* a = static_cast<QREFolder*>(ChildNamed(*CurrentRing()->Root, "a/"));
    ASSERT_NE(a, nullptr);
    EXPECT_NE(ChildNamed(*a, "b/"), nullptr) << "the old root stays on the ring, as one level up keeps it";
    EXPECT_EQ(LastSteps(1), (QStringList{"top"}));

    QTest::keyClick(GLView(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(Bar().Editing());
    EXPECT_EQ(Bar().Line()->text().toStdString(), Tree.PathOf("top/"));
    EXPECT_EQ(Bar().Line()->selectedText(), Bar().Line()->text());
    QTest::keyClicks(Bar().Line(), "~/top/oth");
    QCompleter* completer = Bar().Line()->completer();
    ASSERT_NE(completer, nullptr);
    EXPECT_EQ(completer->completionCount(), 1);
    EXPECT_EQ(completer->currentCompletion(), "~/top/other/");
    completer->popup()->hide();
    QTest::keyClicks(Bar().Line(), "er");
    QTest::keyClick(Bar().Line(), Qt::Key_Return);
    ExpectRoot("top/other/");
    EXPECT_FALSE(Bar().Editing());

    QTest::keyClick(GLView(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(Bar().Line(), Qt::Key_Escape);
    EXPECT_FALSE(Bar().Editing());
    ExpectRoot("top/other/");

    struct Step {
        Qt::Key Key;
        const char* Root;
    };
    for (const Step& step : {Step{Qt::Key_Left, "top/"}, Step{Qt::Key_Left, "top/a/b/"}, Step{Qt::Key_Left, "top/a/b/"},
                             Step{Qt::Key_Right, "top/"}, Step{Qt::Key_Right, "top/other/"}, Step{Qt::Key_Right, "top/other/"}}) {
        SCOPED_TRACE(step.Root);
        QTest::keyClick(GLView(), step.Key, Qt::AltModifier);
        WaitFrames(1);
        ExpectRoot(step.Root);
    }
    QTest::keyClick(GLView(), Qt::Key_Left, Qt::AltModifier);
    App()->ChangeRoot(Tree.PathOf("top/a/"));
    QTest::keyClick(GLView(), Qt::Key_Right, Qt::AltModifier);
    ExpectRoot("top/a/"); // a new root ends the way forward
}

} // namespace
