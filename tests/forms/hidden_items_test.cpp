// Hide from Ring and Show Hidden Items through the real window: the elements leave the layout and
// the totals, the parent's info box counts them, the list survives a restart, and the files stay.
#include <QAction>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "forms/main.h"
#include "forms/main_menus.h"
#include "platform/hidden_items_file.h"
#include "presentation/gl_scene_app.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

constexpr int kWaitMilliseconds = 5000;

class HiddenItemsForm : public FormTest {
protected:
    void StartOnTree()
    {
        Tree.File("top/a.bin", 1000);
        Tree.File("top/b.bin", 3000);
        Tree.File("top/docs/c.bin", 500);
        Settings.InitialRingMode = 2;
        Settings.InitialRingFolder = Tree.PathOf("top");
        Start();
        ExpectSize("4500");
    }
    QRElement* Child(const std::string& name) const { return ChildNamed(*CurrentRing()->Root, name); }
    void ExpectSize(const std::string& bytes)
    {
        const QString expected = QString::fromStdString("Size: " + bytes + " Byte");
        EXPECT_TRUE(QTest::qWaitFor([&] { WaitFrames(1); return Panel(2) == expected; }, kWaitMilliseconds))
            << Panel(2).toStdString() << " instead of " << expected.toStdString();
    }
    // The Show Hidden Items submenu as it opens: its items' captions.
    std::vector<std::string> ShowHiddenMenu() const
    {
        QMenu* menu = Form->Menus().Menu("MMShowHidden");
        emit menu->aboutToShow();
        std::vector<std::string> captions;
        for (QAction* action : menu->actions())
            captions.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        return captions;
    }
    void ChooseInShowHiddenMenu(const std::string& caption) const
    {
        QMenu* menu = Form->Menus().Menu("MMShowHidden");
        emit menu->aboutToShow();
        for (QAction* action : menu->actions())
            if (action->text().toStdString() == caption) {
                action->trigger();
                return;
            }
        ADD_FAILURE() << "no item " << caption;
    }
    std::vector<std::string> RootInfoTexts() const
    {
        GLSceneApp* scene = App()->SceneApp;
        scene->HoverElement = CurrentRing()->Root;
        scene->HoverRing = CurrentRing();
        std::vector<std::string> texts;
        for (const GLInfoLine& line : scene->InfoLines(800.0f, 0.0f))
            texts.push_back(line.Text);
        return texts;
    }
};

TEST_F(HiddenItemsForm, HiddenItemsLeaveLayoutAndTotalsSurviveARestartAndComeBack)
{
    StartOnTree();
    Child("b.bin")->Selected = true;
    Child("docs/")->Selected = true;
    App()->TheCursor->SetCurrent(Child("b.bin"));
    Item("CMHideFromRing")->trigger();
    ExpectSize("1000");
    EXPECT_FALSE(Child("b.bin")->Visible);
    EXPECT_FALSE(Child("docs/")->Visible);
    EXPECT_TRUE(Child("a.bin")->Visible);
    EXPECT_FLOAT_EQ(Child("a.bin")->EndAngle - Child("a.bin")->StartAngle, 360.0f) << "alone in the layout";
    const std::vector<std::string> info = RootInfoTexts();
    EXPECT_NE(std::find(info.begin(), info.end(), "1000 Byte"), info.end()) << "the folder size shown";
    EXPECT_NE(std::find(info.begin(), info.end(), "2 hidden, 3.4 KB"), info.end());
    EXPECT_EQ(ShowHiddenMenu(), (std::vector<std::string>{"b.bin", "docs/", "-", "Show All"}));

    Quit();
    Restart();
    ExpectSize("1000");
    EXPECT_FALSE(Child("b.bin")->Visible) << "kept over the restart";

    ChooseInShowHiddenMenu("docs/");
    ExpectSize("1500");
    EXPECT_TRUE(Child("docs/")->Visible);
    ChooseInShowHiddenMenu("Show All");
    ExpectSize("4500");
    EXPECT_EQ(ShowHiddenMenu(), (std::vector<std::string>{"No Hidden Items"}));
    EXPECT_FALSE(std::filesystem::exists(platform::HiddenItemsPathOf(CurrentRing()->Folder))) << "an empty list keeps no file";
    const FileTree::Sums sums = Tree.SumsBelow("top");
    EXPECT_EQ(sums.Bytes, 4500) << "the disk is never touched";
    EXPECT_EQ(sums.Files, 3);
}

} // namespace
