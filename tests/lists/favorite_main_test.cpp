#include "lists/favorite_main.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "tests/support/engine_fixture.h"

namespace {

class FavoriteTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Favorites = QOXMake<QOXFavoriteEngine>(nullptr);
    }
    void TearDown() override
    {
        Favorites.reset();
        EngineTest::TearDown();
    }
    QFGeneric* Favorite(const std::string& name, const std::string& folder)
    {
        QFGeneric* favorite = Favorites->AddFavorite(name);
        favorite->Folder = folder;
        return favorite;
    }
    std::vector<std::string> Names(const QOXFavoriteEngine& favorites) const
    {
        std::vector<std::string> names;
        for (int i = 0; i < favorites.Count(); ++i)
            names.push_back(favorites.GetFavorite(i)->GetName());
        return names;
    }
    std::vector<std::string> Folders(const QOXFavoriteEngine& favorites) const
    {
        std::vector<std::string> folders;
        for (int i = 0; i < favorites.Count(); ++i)
            folders.push_back(favorites.GetFavorite(i)->Folder);
        return folders;
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : Desktop.Boxes)
            texts.push_back(box.Text);
        return texts;
    }

    QOXPtr<QOXFavoriteEngine> Favorites;
};

TEST_F(FavoriteTest, FavoritesReadBackExactly)
{
    ProgramFolder.Write("favorites.ini", "");
    const std::vector<std::string> folders = {
        "/home/ann/Photos (2020), best; kept/", "/srv/tab\there/", "/home/ann/Ärger & Co/", "",
        "/" + std::string(300, 'd') + "/",
    };
    for (std::size_t i = 0; i < folders.size(); ++i)
        Favorite("Name (" + std::to_string(i) + "), with; marks", folders[i]);
    Favorites->Save("favorites");

    auto loaded = QOXMake<QOXFavoriteEngine>(nullptr);
    loaded->Load("favorites");
    EXPECT_EQ(Folders(*loaded), folders);
    EXPECT_EQ(Names(*loaded), Names(*Favorites));
    EXPECT_EQ(loaded->GetFavorite(0)->GetName(), "Name (0), with; marks");
}

TEST_F(FavoriteTest, FileLayoutPutsValuesInColumnNineteen)
{
    ProgramFolder.Write("favorites.ini", "");
    Favorite("Music", "/srv/music/");
    Favorites->Save("favorites");
    EXPECT_EQ(ProgramFolder.Read("favorites.ini"), "\n\n"
                                                   "FAVORITE {\n"
                                                   "  NAME            \"Music\"\n"
                                                   "  FOLDER          \"/srv/music/\"\n"
                                                   "}\n"
                                                   "\n");
}

TEST_F(FavoriteTest, BrokenFileLoadsWhatItCan)
{
    ProgramFolder.Write("favorites.ini", "FOLDER \"/outside/any/block/\"\n"
                                         "FAVORITE {\r\n"
                                         "  FOLDER \"/first/\"\r\n"
                                         "  COLOUR 12\r\n"
                                         "  NAME\r\n"
                                         "FAVORITE {\n"
                                         "  NAME \"Second\" \"extra\" tokens\n"
                                         "  FOLDER \"/second/\n"
                                         "}\n"
                                         "}\n"
                                         "@@ garbage @@\n"
                                         "FAVORITE {\n"
                                         "  FOLDER /third/ unquoted\n");
    Favorites->Load("favorites");
    EXPECT_EQ(Names(*Favorites), (std::vector<std::string>{"", "Second", "NEW FAVORITE"}));
    EXPECT_EQ(Folders(*Favorites), (std::vector<std::string>{"/first/", "/second/", "/third/"}));
}

TEST_F(FavoriteTest, FoldersCompareExactlyNamesIgnoreCase)
{
    Favorite("Photos", "/home/ann/Photos/");
    Favorite("photos", "/home/ann/photos/");
    Favorite(std::string(32, 'L'), "/long/");
    EXPECT_TRUE(Favorites->HasFolder("/home/ann/Photos/"));
    EXPECT_FALSE(Favorites->HasFolder("/home/ann/PHOTOS/"));
    EXPECT_FALSE(Favorites->HasFolder("/home/ann/Photos"));
    EXPECT_EQ(Favorites->FindFolderByName("PHOTOS"), "/home/ann/Photos/");
    EXPECT_EQ(Favorites->FindFolderByName(std::string(40, 'l')), "/long/");
    EXPECT_EQ(Favorites->FindFolderByName("Photo"), "");
}

TEST_F(FavoriteTest, DeleteAndSwapKeepTheOrderAndIgnoreBadIndices)
{
    Favorite("A", "/a/");
    Favorite("B", "/b/");
    Favorite("C", "/c/");
    Favorites->SwapFavorites(2, 1);
    Favorites->SwapFavorites(2, 3);
    EXPECT_EQ(Names(*Favorites), (std::vector<std::string>{"A", "C", "B"}));
    Favorites->DeleteFavorite(1);
    Favorites->DeleteFavorite(2);
    EXPECT_EQ(Names(*Favorites), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Favorites->GetFavorite(-1), nullptr);
    EXPECT_FALSE(Favorites->HasFolder("/c/"));
}

TEST_F(FavoriteTest, EditDialogRulesShowTheirMessages)
{
    const std::string music = ProgramFolder.Path() + "music";
    const std::string photos = ProgramFolder.Path() + "photos/";
    std::filesystem::create_directories(music);
    std::filesystem::create_directories(photos);
    QFGeneric* own = Favorite("Music", music + "/");
    Favorite("Photos", photos);

    std::string folder = music;
    EXPECT_FALSE(Favorites->ConfirmEdit(" \t ", folder, nullptr));
    EXPECT_EQ(folder, music);
    EXPECT_FALSE(Favorites->ConfirmEdit("Music", folder, nullptr));
    EXPECT_EQ(folder, music + "/");
    EXPECT_TRUE(Favorites->ConfirmEdit("Renamed", folder, own));
    folder = photos;
    EXPECT_FALSE(Favorites->ConfirmEdit("Renamed", folder, own));
    folder = ProgramFolder.Path() + "gone";
    EXPECT_FALSE(Favorites->ConfirmEdit("Gone", folder, nullptr));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "You must enter a name for a Favorite!",
                              "The folder \"" + music + "/\" is already bound to another favorite!",
                              "The folder \"" + photos + "\" is already bound to another favorite!",
                              "The folder \"" + ProgramFolder.Path() + "gone/\" was not found!",
                          }));
}

TEST_F(FavoriteTest, EditDialogRefusesWhatTheFileCannotHold)
{
    const std::string quoted = ProgramFolder.Path() + "say \"hi\"";
    std::filesystem::create_directories(quoted);
    std::string folder = quoted;
    EXPECT_FALSE(Favorites->ConfirmEdit("Quoted", folder, nullptr));
    folder = ProgramFolder.Path();
    EXPECT_FALSE(Favorites->ConfirmEdit("Two\nlines", folder, nullptr));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, "A favorite cannot hold a double quote or a line break!"));
}

TEST_F(FavoriteTest, AddingABoundFolderAgainIsRefusedWithAMessage)
{
    Favorite("Music", "/srv/music/");
    EXPECT_TRUE(Favorites->CanAddFolder("/srv/Music/"));
    EXPECT_FALSE(Favorites->CanAddFolder("/srv/music/"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"There is already a favorite bound to the directory\n\"/srv/music/\"!"});
    EXPECT_EQ(Favorites->Count(), 1);
    EXPECT_EQ(QOXFavoriteEngine::ProposedName("/srv/music (old)/"), "music (old)");
    EXPECT_EQ(QOXFavoriteEngine::ProposedName("/"), "");
}

TEST_F(FavoriteTest, UnwritableFavoriteIsLeftOutWithAConsoleLine)
{
    ProgramFolder.Write("favorites.ini", "");
    Favorite("Quoted", "/srv/say \"hi\"/");
    Favorite("Kept", "/srv/kept/");
    Favorite("Split", "/srv/a\nb/");
    Favorites->Save("favorites");
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{
                                 "Saving Favorites Ini File...",
                                 "Left out of the favorites file: the folder /srv/say \"hi\"/ holds a double quote or "
                                 "a line break.",
                                 "Left out of the favorites file: the folder /srv/a b/ holds a double quote or a line "
                                 "break.",
                                 "Done!",
                             }));
    Favorites->Load("favorites");
    EXPECT_EQ(Names(*Favorites), std::vector<std::string>{"Kept"});
}

TEST_F(FavoriteTest, RingBoxListsNamesFoldersThenNewRecentFolders)
{
    Favorite("Music", "/srv/music/");
    Favorite("Photos", "/srv/photos/");
    Favorites->Recent->AddFolder("/srv/photos");
    Favorites->Recent->AddFolder("/tmp/");
    Favorites->Recent->AddFolder("/srv/Music/");
    EXPECT_EQ(Favorites->RingBoxEntries(), (std::vector<std::string>{"Music", "Photos", "/srv/music/", "/srv/photos/",
                                                                     "/tmp/", "/srv/Music/"}));
}

TEST_F(FavoriteTest, MissingFileIsReportedNeverCreated)
{
    Favorite("Lost", "/lost/");
    Favorites->Load("favorites");
    EXPECT_EQ(Favorites->Count(), 0);
    Favorites->Save("favorites");
    const std::string path = ProgramFolder.Path() + "favorites.ini";
    EXPECT_EQ(NewLogLines(), std::vector<std::string>(2, "  ERROR: QX_FILE: File \"" + path + "\" not found!"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(FavoriteTest, DestroyingTheEngineSavesFavoritesAndRecentFolders)
{
    ProgramFolder.Write("favorites.ini", "");
    ProgramFolder.Write("recent.ini", "");
    Favorite("Kept", "/srv/kept/");
    Favorites->Recent->AddFolder("/srv/recent");
    Favorites.reset();
    auto loaded = QOXMake<QOXFavoriteEngine>(nullptr);
    loaded->Recent->Load("recent");
    loaded->Load("favorites");
    EXPECT_EQ(Folders(*loaded), std::vector<std::string>{"/srv/kept/"});
    EXPECT_EQ(loaded->Recent->Settings.Recent.Folders, std::vector<std::string>{"/srv/recent/"});
}

TEST_F(FavoriteTest, ShippedFilesLoad)
{
    for (const char* name : {"favorites.ini", "recent.ini"})
        std::filesystem::copy_file(std::string(ORBIVANE_DATA_DIR) + name, ProgramFolder.Path() + name);
    Favorites->Recent->Load("recent");
    Favorites->Load("favorites");
    EXPECT_EQ(Favorites->Count(), 0);
    EXPECT_EQ(Favorites->Recent->Settings.Recent.Last(), -1);
    EXPECT_GT(Favorites->Recent->Settings.Width, 0);
    EXPECT_GT(Favorites->Recent->Settings.Height, 0);
    EXPECT_TRUE(Desktop.Boxes.empty());
}

} // namespace
