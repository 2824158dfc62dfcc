#include "lists/favorite_recent.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/qox_main.h"
#include "tests/support/engine_fixture.h"

namespace {

// The main window is not part of this layer; this one only keeps its placement.
class PlacedWindow : public QAFWindowPlacement {
public:
    bool IsMaximized() const override { return Maximized; }
    int Left() const override { return X; }
    int Top() const override { return Y; }
    int Width() const override { return W; }
    int Height() const override { return H; }
    void Place(int left, int top, int width, int height) override
    {
        X = left;
        Y = top;
        W = width;
        H = height;
        ++Placements;
    }
    void SetMaximized(bool maximized) override { Maximized = maximized; }

    bool Maximized = false;
    int X = 10;
    int Y = 20;
    int W = 800;
    int H = 600;
    int Placements = 0;
};

class RecentTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Recent = QOXMake<QAFRecent>(nullptr);
        Recent->Window = &Window;
    }
    void TearDown() override
    {
        Recent.reset();
        EngineTest::TearDown();
    }
    const std::vector<std::string>& Folders() const { return Recent->Settings.Recent.Folders; }
    static std::string NumberedFolder(int i) { return "/srv/folder " + std::to_string(i) + "/"; }
    std::string FoldersBlock(int count) const
    {
        std::string block = "FOLDERS {\n";
        for (int i = 0; i < count; ++i)
            block += "  \"" + NumberedFolder(i) + "\"\n";
        return block + "}\n";
    }

    PlacedWindow Window;
    QOXPtr<QAFRecent> Recent;
};

TEST_F(RecentTest, FoldersAndPlacementReadBackExactly)
{
    ProgramFolder.Write("recent.ini", "");
    const std::vector<std::string> folders = {"/home/ann/Photos (2020), best; kept/", "/srv/a\tb/", "/"};
    for (const std::string& folder : folders)
        Recent->AddFolder(folder);
    Window = PlacedWindow{};
    Window.Maximized = true;
    Window.X = -8;
    Recent->Save("recent");
    EXPECT_EQ(ProgramFolder.Read("recent.ini"), "\n\n"
                                                "APPEARANCE {\n"
                                                "  MAXIMIZE       TRUE\n"
                                                "  LEFT           -8\n"
                                                "  TOP            20\n"
                                                "  WIDTH          800\n"
                                                "  HEIGHT         600\n"
                                                "}\n"
                                                "\n"
                                                "FOLDERS {\n"
                                                "  \"/home/ann/Photos (2020), best; kept/\"\n"
                                                "  \"/srv/a\tb/\"\n"
                                                "  \"/\"\n"
                                                "}\n"
                                                "\n");

    PlacedWindow fresh;
    auto loaded = QOXMake<QAFRecent>(nullptr);
    loaded->Window = &fresh;
    loaded->Load("recent");
    EXPECT_EQ(loaded->Settings.Recent.Folders, folders);
    EXPECT_TRUE(fresh.Maximized);
    EXPECT_EQ(fresh.X, -8);
    EXPECT_EQ(fresh.W, 800);
    loaded->Window = nullptr;
}

TEST_F(RecentTest, SameFolderTwiceKeepsOneEntryOtherCaseIsAnotherFolder)
{
    Recent->AddFolder("/srv/Music");
    Recent->AddFolder("/srv/Music/");
    Recent->AddFolder("/srv/music/");
    EXPECT_EQ(Folders(), (std::vector<std::string>{"/srv/Music/", "/srv/music/"}));
    EXPECT_TRUE(Recent->Contains("/srv/music/"));
    EXPECT_FALSE(Recent->Contains("/srv/MUSIC/"));
}

TEST_F(RecentTest, TwentySecondFolderPushesTheFirstOut)
{
    for (int i = 0; i < 22; ++i)
        Recent->AddFolder(NumberedFolder(i));
    ASSERT_EQ(Folders().size(), 21u);
    EXPECT_EQ(Folders().front(), NumberedFolder(1));
    EXPECT_EQ(Folders().back(), NumberedFolder(21));
    EXPECT_FALSE(Recent->Contains(NumberedFolder(0)));
}

TEST_F(RecentTest, LongFileKeepsItsNewestTwentyOne)
{
    ProgramFolder.Write("recent.ini", FoldersBlock(30));
    Recent->Load("recent");
    ASSERT_EQ(Recent->Settings.Recent.Last(), 20);
    EXPECT_EQ(Folders().front(), NumberedFolder(9));
    EXPECT_EQ(Folders().back(), NumberedFolder(29));
}

TEST_F(RecentTest, BrokenFileLoadsWhatItCan)
{
    Recent->AddFolder("/before/load/");
    ProgramFolder.Write("recent.ini", "APPEARANCE {\n"
                                      "  LEFT    12px\n"
                                      "  TOP     -30\n"
                                      "  WIDTH   99999999999\n"
                                      "  HEIGHT  480\n"
                                      "  MAXIMIZE yes\n"
                                      "  DEPTH   3\n"
                                      "FOLDERS {\n"
                                      "  \"/srv/one/\"\n"
                                      "\n"
                                      "  /srv/two/ unquoted\n"
                                      "  \"/srv/one/\"\n"
                                      "junk {\n"
                                      "}\n"
                                      "  \"/after/the/block/\"\n");
    Recent->Load("recent");
    EXPECT_EQ(Recent->Settings.Left, 0);
    EXPECT_EQ(Recent->Settings.Top, -30);
    EXPECT_EQ(Recent->Settings.Width, 0);
    EXPECT_EQ(Recent->Settings.Height, 480);
    EXPECT_FALSE(Recent->Settings.Maximize);
    EXPECT_EQ(Folders(), (std::vector<std::string>{"/srv/one/", "/srv/two/", "/srv/one/", "junk"}));
}

TEST_F(RecentTest, FileWithoutPlacementLeavesTheWindowWhereItWas)
{
    ProgramFolder.Write("recent.ini", FoldersBlock(2));
    Recent->Load("recent");
    EXPECT_EQ(Folders().size(), 2u);
    EXPECT_EQ(Window.Placements, 0);
    EXPECT_EQ(Window.W, 800);
    EXPECT_FALSE(Window.Maximized);
}

TEST_F(RecentTest, MissingFileReadsAndWritesNothing)
{
    Recent->AddFolder("/srv/kept/");
    Recent->Load("recent");
    Recent->Save("recent");
    const std::string path = ProgramFolder.Path() + "recent.ini";
    EXPECT_EQ(NewLogLines(), std::vector<std::string>(2, "  ERROR: QX_FILE: File \"" + path + "\" not found!"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Folders(), std::vector<std::string>{"/srv/kept/"});
    EXPECT_EQ(Window.Placements, 0);
}

TEST_F(RecentTest, UnwritableFolderIsLeftOutWithAConsoleLine)
{
    ProgramFolder.Write("recent.ini", "");
    Recent->AddFolder("/srv/say \"hi\"/");
    Recent->AddFolder("/srv/kept/");
    Recent->AddFolder("/srv/two\r\nlines/");
    Recent->Save("recent");
    const auto log = NewLogLines();
    EXPECT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "Left out of the recent file: the folder /srv/say \"hi\"/ holds a double quote or a line break.");
    Recent->Load("recent");
    EXPECT_EQ(Folders(), std::vector<std::string>{"/srv/kept/"});
}

} // namespace
