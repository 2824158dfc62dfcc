#include "forms/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <functional>

#include "app/app_main.h"
#include "forms/main.h"
#include "ring/element_folder.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

namespace {

// Every menu item a command runs through, found by its component name.
TEST_F(FormTest, MenuItemsRunTheirCommands)
{
    Tree.File("top/sub/inner.txt", 1);
    Tree.File("top/.hidden", 1);
    Settings.InitialRingFolder = Tree.PathOf("top/sub");
    Start();
    struct Case {
        const char* Item;
        std::function<void()> Arrange;
        std::function<void()> Check;
    };
    QOXRing* ring = nullptr;
    const auto openTop = [&] { ring = App()->CreateRing(Tree.PathOf("top")); };
    const Case cases[] = {
        {"CMUpOneLevel", [&] { ring = CurrentRing(); },
         [&] {
             EXPECT_EQ(ring->Folder, Tree.PathOf("top/"));
             EXPECT_EQ(Form->windowTitle().toStdString(), "Orbivane - " + Tree.PathOf("top/"));
         }},
        {"MMResetRingView", [&] { ring->Zoom = 7.0f; ring->Position.X = 3.0f; },
         [&] {
             EXPECT_FLOAT_EQ(ring->Zoom, 1.1f);
             EXPECT_FLOAT_EQ(ring->Position.X, 0.0f);
         }},
        {"MMDisplayHidden", [&] { ASSERT_TRUE(ChildNamed(*ring->Root, ".hidden")->Visible); },
         [&] {
             EXPECT_FALSE(App()->Settings.DisplayHiddenFiles);
             EXPECT_FALSE(Item("MMDisplayHidden")->isChecked());
             EXPECT_FALSE(ChildNamed(*ring->Root, ".hidden")->Visible);
         }},
        {"MMAllowMultiplyViews", [] {}, [&] { EXPECT_FALSE(App()->Settings.AllowMultiplyViews); }},
        {"MMRefresh", [&] { Tree.File("top/new.txt", 1); },
         [&] { EXPECT_NE(ChildNamed(*ring->Root, "new.txt"), nullptr); }},
        {"MinimizeRing2", [] {},
         [&] {
             EXPECT_EQ(CurrentRing(), nullptr);
             EXPECT_TRUE(ring->Minimized);
             EXPECT_EQ(Form->windowTitle(), "Orbivane");
         }},
        {"NextRing1", [] {}, [&] { EXPECT_EQ(CurrentRing(), ring) << "the minimised ring comes back"; }},
        {"ClosecurrentRing1", openTop,
         [&] {
             EXPECT_EQ(CurrentRing(), nullptr);
             EXPECT_EQ(App()->Rings->Count(), 0);
         }},
        {"CMBGCloseAll", [&] { openTop(); App()->CreateRing(Tree.PathOf("top/sub")); },
         [&] { EXPECT_EQ(App()->Rings->Count(), 0); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Item);
        test.Arrange();
        Item(test.Item)->trigger();
        WaitFrames(1);
        test.Check();
    }
}

// Without a settings file the settings are the table's defaults, and the ticked items say so.
TEST_F(FormTest, TicksShowTheSettingsWithoutASettingsFile)
{
    Launch();
    std::filesystem::remove(Home.Path() + "orbivane.ini"); // before the start-up reads it
    WaitForFirstFrame();
    const std::pair<const char*, bool QASettings::*> ticks[] = {
        {"MMDisplayHidden", &QASettings::DisplayHiddenFiles},
        {"MMAllowMultiplyViews", &QASettings::AllowMultiplyViews},
        {"MMDisplayUnboundElements", &QASettings::DisplayUnboundElements},
    };
    for (const auto& [item, setting] : ticks) {
        EXPECT_TRUE(App()->Settings.*setting) << item;
        EXPECT_TRUE(Item(item)->isChecked()) << item;
    }
}

TEST_F(FormTest, ShortcutsReachTheMenusWhileTheViewHasTheKeyboard)
{
    Start();
    QOXRing* ring = CurrentRing();
    QTest::keyClick(GLView(), Qt::Key_M, Qt::ControlModifier);
    WaitFrames(1);
    EXPECT_EQ(CurrentRing(), nullptr);
    EXPECT_TRUE(ring->Minimized);
    QTest::keyClick(GLView(), Qt::Key_M, Qt::ControlModifier); // with no current ring: nothing
    QTest::keyClick(GLView(), Qt::Key_F4, Qt::ControlModifier);
    WaitFrames(1);
    EXPECT_EQ(App()->Rings->Count(), 1);
}

// The element menu shows what fits the element under the pointer: a ring's root (at the file-system
// root without "Go Up One Level"), a folder or a file.
TEST_F(FormTest, PopUpItemsFollowTheElementUnderThePointer)
{
    Tree.File("folder/inside.txt", 1);
    Tree.File("file.txt", 1);
    Start();
    const std::vector<QAMenuItem> rootItems{QAMenuItem::CMLineFolder, QAMenuItem::CMExpandAll, QAMenuItem::CMLineNew,
                                            QAMenuItem::CMNew,        QAMenuItem::CMLineRoot,  QAMenuItem::CMRingMinimize,
                                            QAMenuItem::CMRingClose};
    struct Case {
        const char* What;
        std::function<QRElement*()> Element;
        QAMenuItems Shown;
    };
    const auto child = [&](const char* name) { return [this, name] { return ChildNamed(*CurrentRing()->Root, name); }; };
    QAMenuItems folderRoot(rootItems.begin(), rootItems.end());
    folderRoot.insert(QAMenuItem::CMUpOneLevel);
    const Case cases[] = {
        {"folder", child("folder/"),
         {QAMenuItem::CMLineRename, QAMenuItem::CMRename, QAMenuItem::CMLineFolder, QAMenuItem::CMExpandAll,
          QAMenuItem::CMLineNew, QAMenuItem::CMNew, QAMenuItem::CMExpand, QAMenuItem::CMNewRingFromFolder}},
        {"file", child("file.txt"), {QAMenuItem::CMLineRename, QAMenuItem::CMRename}},
        {"root", [this] { return static_cast<QRElement*>(CurrentRing()->Root); }, folderRoot},
        {"file-system root",
         [this] {
             App()->CreateRing("/");
             Settle();
             return static_cast<QRElement*>(CurrentRing()->Root);
         },
         QAMenuItems(rootItems.begin(), rootItems.end())},
    };
    QMenu* menu = Form->Menus().PopUpMenu(QAMenu::Element);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        Settle();
        Click(ViewPointOf(test.Element()), Qt::RightButton);
        ASSERT_TRUE(menu->isVisible());
        for (const QAMenuItem item : {QAMenuItem::CMLineRename, QAMenuItem::CMRename, QAMenuItem::CMLineFolder,
                                      QAMenuItem::CMExpandAll, QAMenuItem::CMLineNew, QAMenuItem::CMNew,
                                      QAMenuItem::CMExpand, QAMenuItem::CMNewRingFromFolder, QAMenuItem::CMLineRoot,
                                      QAMenuItem::CMRingMinimize, QAMenuItem::CMRingClose, QAMenuItem::CMUpOneLevel})
            EXPECT_EQ(Item(TMainMenus::ItemName(item).toUtf8().constData())->isVisible(), test.Shown.contains(item))
                << TMainMenus::ItemName(item).toStdString();
        EXPECT_TRUE(Item("CMOpen")->isVisible());
        EXPECT_FALSE(Item("CMComputeSize")->isVisible());
        menu->hide();
    }
}

// Captions from data show "&" as itself; a drive's item opens its mount point.
TEST_F(FormTest, DataMenusShowTheirTextsAndOpenTheirFolders)
{
    Tree.MakeFolder("research");
    Home.Folder.Write("favorites.ini", "FAVORITE {\n  NAME            \"R&D\"\n  FOLDER          \"" +
                                           Tree.PathOf("research/") + "\"\n}\n");
    Start();
    const QList<QAction*> favorites = Form->Menus().Menu("MMFavorites")->actions();
    ASSERT_EQ(favorites.front()->text(), "R&&D");
    EXPECT_TRUE(QKeySequence::mnemonic(favorites.front()->text()).isEmpty());
    favorites.front()->trigger();
    ASSERT_NE(CurrentRing(), nullptr);
    EXPECT_EQ(CurrentRing()->Folder, Tree.PathOf("research/"));

    QAction* firstDrive = Form->Menus().Menu("MMRingNew")->actions().front();
    ASSERT_EQ(firstDrive->text(), "/  (HDD)");
    firstDrive->trigger();
    EXPECT_EQ(CurrentRing()->Folder, "/");

    const QList<QAction*> views = Form->Menus().Menu("MMViews")->actions();
    ASSERT_EQ(views.size(), App()->Views->Count() + 6);
    EXPECT_EQ(views.front()->text().toStdString(), App()->Views->GetView(0)->GetName());
    EXPECT_FALSE(views.front()->isChecked());
    views.front()->trigger();
    EXPECT_TRUE(App()->Views->GetView(0)->Enabled);
    EXPECT_TRUE(Form->Menus().Menu("MMViews")->actions().front()->isChecked()) << "the menu follows the view";
}

} // namespace
