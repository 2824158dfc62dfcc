#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/app_main.h"
#include "lists/view_generic.h"
#include "tests/app/command_fixture.h"

namespace {

// The new-ring dialog takes a favourite's name in any case, a folder with or without its final
// "/", and reports what it cannot find.
TEST_F(CommandTest, TheNewRingDialogOpensFoldersAndFavourites)
{
    Tree.MakeFolder("music");
    Tree.MakeFolder("work");
    TheApp->Favorites->AddFavorite("Tunes")->Folder = Tree.PathOf("music/");
    struct Case {
        std::string Typed;
        std::string Opened;  // the current ring's folder afterwards
        std::string Message; // the box shown, if any
    };
    const Case cases[] = {
        {"tUNES", Tree.PathOf("music/"), ""},
        {Tree.PathOf("work"), Tree.PathOf("work/"), ""},
        {Tree.PathOf("nowhere"), Tree.PathOf("work/"), "Could not find directory \"" + Tree.PathOf("nowhere/") + "\"!"},
        {"", Tree.PathOf("work/"), "Could not find directory \"\"!"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Typed);
        Desktop.Boxes.clear();
        Dialogs.Typed = test.Typed;
        TheApp->NewRingDialog();
        ASSERT_NE(TheApp->CurrentRing, nullptr);
        EXPECT_EQ(TheApp->CurrentRing->Folder, test.Opened);
        EXPECT_EQ(LastBox(), test.Message);
    }
    EXPECT_EQ(Dialogs.Box, (std::vector<std::string>{"Tunes", Tree.PathOf("music/"), Tree.PathOf("work/")}));
    Dialogs.Answer = QADialogResult::Cancel;
    Dialogs.Typed = Tree.PathOf("music");
    TheApp->NewRingDialog();
    EXPECT_EQ(TheApp->CurrentRing->Folder, Tree.PathOf("work/"));
}

// Confirmed preferences are limited, the shadow map size made one the texture engine takes, and
// the file saved; cancelled ones change nothing, not even the file.
TEST_F(CommandTest, PreferencesAreLimitedAndSavedOnlyWhenConfirmed)
{
    const std::string before = SettingsText(TheApp->Settings);
    const std::string file = ProgramFolder.Write("orbivane.ini", before);
    Dialogs.EditSettings = [](QASettings& settings) {
        settings.AnimationSpeed = 50.0f;
        settings.RingAnimationSpeed = 0.0f;
        settings.DefaultFocusFactor = 0.5f;
        settings.ShadowMapSize = 300;
        settings.InitialRingFolder = "/srv/data";
    };
    Dialogs.Answer = QADialogResult::Cancel;
    TheApp->Preferences();
    EXPECT_EQ(SettingsText(TheApp->Settings), before);
    EXPECT_EQ(ProgramFolder.Read("orbivane.ini"), before);

    Dialogs.Answer = QADialogResult::Ok;
    TheApp->Preferences();
    const QASettings& settings = TheApp->Settings;
    EXPECT_EQ(settings.AnimationSpeed, 10.0f);
    EXPECT_EQ(settings.RingAnimationSpeed, 0.1f);
    EXPECT_EQ(settings.DefaultFocusFactor, 1.0f);
    EXPECT_EQ(settings.ShadowMapSize, 512);
    EXPECT_EQ(settings.InitialRingFolder, "/srv/data/");
    EXPECT_EQ(ProgramFolder.Read("orbivane.ini"), SettingsText(settings));
}

TEST_F(CommandTest, TheAboutBoxShowsAndTakesBananaMode)
{
    Dialogs.Ticked = true;
    TheApp->About();
    EXPECT_FALSE(Dialogs.ShownBanana);
    EXPECT_TRUE(TheApp->Settings.BananaMode);
    Dialogs.Ticked = false;
    TheApp->About();
    EXPECT_TRUE(Dialogs.ShownBanana);
    EXPECT_FALSE(TheApp->Settings.BananaMode);
}

// "Add to Favorites" proposes the folder's name, saves what is confirmed and refuses a folder that
// has a favourite already, without asking.
TEST_F(CommandTest, AddToFavoritesNamesTheCurrentFolderOnce)
{
    ProgramFolder.Write("favorites.ini", "");
    Tree.MakeFolder("photos");
    TheApp->AddCurrentToFavorites(); // no ring: nothing
    EXPECT_TRUE(Dialogs.AddedFolders.empty());
    Open("photos");
    Dialogs.Typed = "My Photos";
    TheApp->AddCurrentToFavorites();
    EXPECT_EQ(Dialogs.Proposed, "photos");
    ASSERT_EQ(TheApp->Favorites->Count(), 1);
    EXPECT_EQ(TheApp->Favorites->GetFavorite(0)->Folder, Tree.PathOf("photos/"));
    EXPECT_NE(ProgramFolder.Read("favorites.ini").find("\"My Photos\""), std::string::npos);
    EXPECT_EQ(MenuBar.Captions(QADataMenu::Favorites), (std::vector<std::string>{"My Photos"}));

    TheApp->AddCurrentToFavorites();
    EXPECT_EQ(Dialogs.AddedFolders.size(), 1u);
    EXPECT_EQ(LastBox(), "There is already a favorite bound to the directory\n\"" + Tree.PathOf("photos/") + "\"!");
    TheApp->SetCurrentRing(nullptr);
    MenuBar.Menus[QADataMenu::Favorites].front().Click();
    EXPECT_EQ(TheApp->CurrentRing->Folder, Tree.PathOf("photos/"));
}

// The editors work on the live lists: OK keeps the edits in the file, Cancel undoes them.
TEST_F(CommandTest, ListEditorsKeepOrUndoTheirEdits)
{
    std::filesystem::copy_file(std::string(ORBIVANE_SOURCE_DIR) + "/data/views.ini", ProgramFolder.Path() + "views.ini");
    ProgramFolder.Write("favorites.ini", "");
    TheApp->Views->Load("views");
    const int views = TheApp->Views->Count();
    Dialogs.Answer = QADialogResult::Cancel;
    TheApp->ConfigureViews();
    TheApp->ConfigureFavorites();
    EXPECT_EQ(TheApp->Views->Count(), views);
    EXPECT_EQ(TheApp->Favorites->Count(), 0);
    EXPECT_EQ(MenuBar.Menus[QADataMenu::Views].size(), static_cast<std::size_t>(views));

    Dialogs.Answer = QADialogResult::Ok;
    TheApp->ConfigureViews();
    TheApp->ConfigureFavorites();
    TheApp->Views->Load("views");
    TheApp->Favorites->Load("favorites");
    EXPECT_EQ(TheApp->Views->Count(), views - 1);
    EXPECT_EQ(MenuBar.Captions(QADataMenu::Favorites), (std::vector<std::string>{"edited"}));
}

// Cancel puts the lists back as the editors found them, whether their files exist or not (the
// files are never read back); OK saves them, creating a missing file.
TEST_F(CommandTest, ListEditorsRestoreOnCancelAndCreateMissingFilesOnOk)
{
    const std::vector<std::string> viewNames{"Images", "Unsaved"};
    const std::vector<std::string> favoriteNames{"Home"};
    const auto names = [](const auto& list, const auto& get) {
        std::vector<std::string> result;
        for (int index = 0; index < list.Count(); ++index)
            result.push_back((list.*get)(index)->GetName());
        return result;
    };
    const auto viewsNow = [&] { return names(*TheApp->Views, &QOXViewEngine::GetView); };
    const auto favoritesNow = [&] { return names(*TheApp->Favorites, &QOXFavoriteEngine::GetFavorite); };
    for (const bool filesExist : {true, false}) {
        SCOPED_TRACE(filesExist ? "with files" : "without files");
        for (const char* file : {"views.ini", "favorites.ini"})
            std::filesystem::remove(ProgramFolder.Path() + file);
        if (filesExist) {
            ProgramFolder.Write("views.ini", "VIEW {\n  NAME \"Old\"\n}\n");
            ProgramFolder.Write("favorites.ini", "");
        }
        TheApp->Views->Clear();
        TheApp->Favorites->Clear();
        for (const std::string& name : viewNames)
            TheApp->Views->AddView(name)->AddExtension("png");
        TheApp->Views->GetView(1)->Colour = {0.25f, 0.5f, 0.75f};
        TheApp->Favorites->AddFavorite("Home")->Folder = "/home/";

        Dialogs.Answer = QADialogResult::Cancel;
        TheApp->ConfigureViews();
        TheApp->ConfigureFavorites();
        EXPECT_EQ(viewsNow(), viewNames);
        EXPECT_EQ(favoritesNow(), favoriteNames);
        EXPECT_TRUE(TheApp->Views->GetView(0)->HasExtension("png"));
        EXPECT_FLOAT_EQ(TheApp->Views->GetView(1)->Colour.Z, 0.75f);
        EXPECT_EQ(TheApp->Favorites->GetFavorite(0)->Folder, "/home/");
        EXPECT_EQ(std::filesystem::exists(ProgramFolder.Path() + "views.ini"), filesExist);

        Dialogs.Answer = QADialogResult::Ok;
        TheApp->ConfigureViews();
        TheApp->ConfigureFavorites();
        TheApp->Views->Load("views");
        TheApp->Favorites->Load("favorites");
        EXPECT_EQ(viewsNow(), (std::vector<std::string>{"Unsaved"}));
        EXPECT_EQ(favoritesNow(), (std::vector<std::string>{"Home", "edited"}));
    }
}

// A view's item flips the view and the menu follows; with single views the clicked one is the only
// one on.
TEST_F(CommandTest, ViewItemsToggleTheirViews)
{
    QVGeneric* images = TheApp->Views->AddView("Images");
    QVGeneric* music = TheApp->Views->AddView("Music");
    music->Disable();
    TheApp->Settings.AllowMultiplyViews = false;
    TheApp->BuildViewsMenu();
    const auto ticks = [&] {
        std::vector<QATick> result;
        for (const QAMenuEntry& entry : MenuBar.Menus[QADataMenu::Views])
            result.push_back(entry.Tick);
        return result;
    };
    EXPECT_EQ(MenuBar.Captions(QADataMenu::Views), (std::vector<std::string>{"Images", "Music"}));
    EXPECT_EQ(ticks(), (std::vector<QATick>{QATick::Ticked, QATick::Unticked}));
    MenuBar.Menus[QADataMenu::Views][1].Click();
    EXPECT_FALSE(images->Enabled);
    EXPECT_TRUE(music->Enabled);
    EXPECT_EQ(ticks(), (std::vector<QATick>{QATick::Unticked, QATick::Ticked}));
}

// Each drive's item opens the drive's mount point; fixed drives get a ring at start-up when asked.
TEST_F(CommandTest, TheDriveMenuOpensMountPoints)
{
    TheApp->Settings.CreateRingForHDD = false;
    TheApp->BuildDriveMenu();
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    const std::vector<QAMenuEntry>& drives = MenuBar.Menus[QADataMenu::Drives];
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().Caption, "/  (HDD)");
    drives.front().Click();
    ASSERT_NE(TheApp->CurrentRing, nullptr);
    EXPECT_EQ(TheApp->CurrentRing->Folder, "/");

    TheApp->CloseAllRings();
    TheApp->Settings.CreateRingForHDD = true;
    TheApp->BuildDriveMenu();
    EXPECT_NE(TheApp->FindRing("/"), nullptr);
}

// A missing manual is reported; one that no program on the desktop can show is named in a message.
TEST_F(CommandTest, ContentsOpensTheManualBesideTheProgram)
{
    const std::string manual = ProgramFolder.Path() + "orbivane.html";
    TheApp->ShowContents();
    EXPECT_EQ(LastBox(), "QX_FILE: File \"" + manual + "\" not found!");
    EXPECT_TRUE(Desktop.OpenedDocuments.empty());
    ProgramFolder.Write("orbivane.html", "<html></html>");
    const std::size_t boxes = Desktop.Boxes.size();
    TheApp->ShowContents();
    EXPECT_EQ(Desktop.OpenedDocuments, (std::vector<std::string>{manual}));
    EXPECT_EQ(Desktop.Boxes.size(), boxes);
    Desktop.OpensDocuments = false;
    TheApp->ShowContents();
    EXPECT_NE(LastBox().find("The manual \"" + manual + "\" could not be opened"), std::string::npos);
}

TEST_F(CommandTest, TickedSettingsApplyAtOnce)
{
    Tree.File(".hidden", 1);
    QOXRing* ring = Open();
    TheApp->SetToggle(QAToggle::DisplayHiddenFiles, false);
    EXPECT_FALSE(TheApp->Settings.DisplayHiddenFiles);
    EXPECT_FALSE(ChildNamed(*ring->Root, ".hidden")->Visible);
    TheApp->SetToggle(QAToggle::GroupViews, false);
    EXPECT_FALSE(TheApp->Settings.GroupViews);
}

TEST(TaskBarTitle, IsTheRingFolderOrTheBareCaption)
{
    EXPECT_EQ(QOXApp::TaskBarTitle("Orbivane"), "Orbivane");
    EXPECT_EQ(QOXApp::TaskBarTitle("Orbivane - /home/ann/"), "/home/ann/");
    EXPECT_EQ(QOXApp::TaskBarTitle("Orbivane - /"), "/");
}

} // namespace
