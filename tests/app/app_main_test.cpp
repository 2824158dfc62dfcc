#include "app/app_main.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ring/resource_iteration.h"
#include "tests/support/app_fixture.h"
#include "tests/support/cursor_fixture.h"

namespace {

class ApplicationTest : public AppTest {};

class RecordingScene : public QASceneLink {
public:
    void ShowRingTitle(const std::string& title) override { Titles.push_back(title); }
    std::vector<std::string> Titles;
};

class RecordingCursor : public QACursorLink {
public:
    void RingChanged(QOXRing* ring) override { Rings.push_back(ring); }
    void RefocusPicked() override { ++Refocused; }
    std::vector<QOXRing*> Rings;
    int Refocused = 0;
};

TEST_F(ApplicationTest, ANewApplicationHasTheTableDefaultsAndNoRing)
{
    TheApp.reset();
    TheApp = QOXMake<QOXApp>(); // as it is made, without the fixture's choice of sizing
    EXPECT_EQ(App(), TheApp.get());
    EXPECT_EQ(TheApp->GetName(), "APP Engine Main");
    EXPECT_EQ(SettingsText(TheApp->Settings), SettingsText(QASettings{}));
    EXPECT_EQ(TheApp->FolderColour, (QXColor{0.0f, 0.8f, 0.0f}));
    EXPECT_EQ(TheApp->FileColour, (QXColor{0.8f, 0.8f, 0.0f}));
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    EXPECT_TRUE(TheApp->AllRingsMinimized());
    TheApp.reset();
    EXPECT_EQ(App(), nullptr);
}

TEST_F(ApplicationTest, SettingsAreLoadedAndSavedOnlyWhenTheFileExists)
{
    TheApp->Settings.AnimationSpeed = 9.0f;
    TheApp->LoadSettings();
    EXPECT_EQ(TheApp->Settings.AnimationSpeed, 9.0f);
    EXPECT_EQ(Window.SettingsShown, 1) << "the window ticks what the settings are, read or not";

    ProgramFolder.Write("orbivane.ini", "[DISPLAY]\nDisplayHiddenFiles=0\n");
    NewLogLines();
    TheApp->LoadSettings();
    EXPECT_FALSE(TheApp->Settings.DisplayHiddenFiles);
    EXPECT_EQ(TheApp->Settings.AnimationSpeed, 4.0f);
    EXPECT_EQ(Window.SettingsShown, 2);
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Loading Ini File...", "Done!"}));

    TheApp->Settings.RingAnimationSpeed = 0.5f;
    TheApp.reset(); // shutting down saves
    QASettings saved;
    ASSERT_TRUE(ReadSettingsFile(ProgramFolder.Path() + "orbivane.ini", saved));
    EXPECT_EQ(saved.RingAnimationSpeed, 0.5f);
    EXPECT_FALSE(saved.DisplayHiddenFiles);
}

TEST_F(ApplicationTest, CreateRingRefusesMissingFoldersWithAMessage)
{
    EXPECT_EQ(TheApp->CreateRing(Tree.PathOf("missing/")), nullptr);
    ASSERT_EQ(Desktop.Boxes.size(), 1u);
    EXPECT_EQ(Desktop.Boxes[0].Text, "Directory \"" + Tree.PathOf("missing/") +
                                         "\" not found!\nMaybe there is no device inserted in this drive.");
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    EXPECT_EQ(TheApp->CreateRing("/proc/self/"), nullptr); // a pseudo file system has no medium
    ASSERT_EQ(Desktop.Boxes.size(), 2u);
    EXPECT_EQ(Desktop.Boxes[1].Text, "No device found on drive \"/proc/self/\"!");
}

TEST_F(ApplicationTest, EqualRingsAreOpenedOnceUnlessAllowed)
{
    Tree.MakeFolder("Case");
    Tree.MakeFolder("case");
    Tree.MakeFolder("other");
    QOXRing* first = Open("Case");
    QOXRing* other = Open("other");
    EXPECT_EQ(TheApp->CurrentRing, other);
    EXPECT_EQ(Open("Case/"), first);
    EXPECT_EQ(TheApp->CurrentRing, first);
    EXPECT_NE(Open("case"), first); // another folder on this file system
    EXPECT_EQ(TheApp->Rings->Count(), 3);
    EXPECT_EQ(TheApp->FindRing(Tree.PathOf("other/")), other);
    EXPECT_EQ(TheApp->FindRing(Tree.PathOf("OTHER/")), nullptr);
    TheApp->Settings.AllowMultipleEqualRings = true;
    EXPECT_NE(Open("other"), other);
    EXPECT_EQ(TheApp->Rings->Count(), 4);
    EXPECT_EQ(TheApp->RingAt(0), first);
    EXPECT_EQ(TheApp->RingAt(4), nullptr);
    // Every folder opened is remembered once, in opening order.
    EXPECT_EQ(TheApp->Favorites->Recent->Settings.Recent.Folders,
              (std::vector<std::string>{Tree.PathOf("Case/"), Tree.PathOf("other/"), Tree.PathOf("case/")}));
}

TEST_F(ApplicationTest, SwitchingRingsUpdatesCaptionTitleAndCursor)
{
    RecordingScene scene;
    RecordingCursor cursor;
    TheApp->Scene = &scene;
    TheApp->Cursor = &cursor;
    Tree.File("a/x.txt", 1);
    Tree.MakeFolder("b");
    EXPECT_EQ(Window.Caption, "");
    QOXRing* a = Open("a/");
    EXPECT_EQ(Window.Caption, "Orbivane - " + Tree.PathOf("a/"));
    ChildNamed(*a->Root, "x.txt")->Selected = true;
    QOXRing* b = Open("b/");
    EXPECT_FALSE(ChildNamed(*a->Root, "x.txt")->Selected);
    EXPECT_EQ(scene.Titles, (std::vector<std::string>{Tree.PathOf("a/"), Tree.PathOf("b/")}));
    EXPECT_EQ(cursor.Rings, (std::vector<QOXRing*>{a, b}));
    TheApp->Settings.RingDisplayDuration = 0.0f;
    TheApp->SetCurrentRing(a);
    EXPECT_EQ(scene.Titles.size(), 2u);
    TheApp->SetCurrentRing(nullptr);
    EXPECT_EQ(Window.Caption, "Orbivane");
    EXPECT_TRUE(b->Minimized);
}

TEST_F(ApplicationTest, RefreshAllDropsRingsWhoseFolderVanishedAndGoesOn)
{
    Tree.File("one/a.txt", 1);
    Tree.File("two/b.txt", 1);
    Tree.File("three/c.txt", 1);
    QOXRing* one = Open("one/");
    Open("two/");
    QOXRing* three = Open("three/");
    Tree.Remove("two");
    Tree.File("three/d.txt", 1);
    Tree.Remove("one/a.txt");
    TheApp->RefreshAll();
    ASSERT_EQ(TheApp->Rings->Count(), 2);
    EXPECT_EQ(TheApp->RingAt(0), one);
    EXPECT_EQ(TheApp->RingAt(1), three);
    EXPECT_EQ(TheApp->CurrentRing, three) << "another ring's vanished folder leaves the user's ring";
    EXPECT_EQ(one->Root->Files->Count(), 0);
    EXPECT_EQ(three->Root->Files->Count(), 2);
    EXPECT_EQ(Window.BusyCalls, (std::vector<bool>{true, false}));

    Tree.Remove("one");
    Tree.Remove("three");
    TheApp->RefreshAll();
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
}

TEST_F(ApplicationTest, AutomaticRefreshFollowsFrameTime)
{
    Tree.File("a.txt", 1);
    QOXRing* ring = Open();
    Tree.File("b.txt", 1);
    for (int frame = 0; frame < 40; ++frame)
        TheApp->UpdateRings(0.25f); // 10 seconds; 0 never refreshes
    EXPECT_EQ(ring->Root->Files->Count(), 1);
    TheApp->Settings.AutoRefreshTime = 5.0f;
    TheApp->UpdateRings(0.25f); // the time since the last refresh has long passed 5 seconds
    EXPECT_EQ(ring->Root->Files->Count(), 2);
    EXPECT_EQ(TheApp->RefreshClock, 0.0f);
    Tree.File("c.txt", 1);
    for (int frame = 0; frame < 19; ++frame)
        TheApp->UpdateRings(0.25f);
    EXPECT_EQ(ring->Root->Files->Count(), 2);
    TheApp->UpdateRings(0.25f);
    EXPECT_EQ(ring->Root->Files->Count(), 3);
}

TEST_F(ApplicationTest, ApplyDisplayChangeEndsEvenWhenTheViewCannotMove)
{
    RecordingCursor cursor;
    TheApp->Cursor = &cursor;
    Tree.File("a.txt", 1);
    Tree.File(".b.txt", 1);
    QOXRing* ring = Open();
    TheApp->Settings.RingAnimationSpeed = 0.0f;
    ring->FocusOn(ChildNamed(*ring->Root, "a.txt"));
    TheApp->Settings.DisplayHiddenFiles = false;
    TheApp->ApplyDisplayChange();
    EXPECT_EQ(cursor.Refocused, 1);
    EXPECT_TRUE(ring->PositionAnimation->Running());
    EXPECT_FALSE(ChildNamed(*ring->Root, ".b.txt")->Visible);

    TheApp->Settings.RingAnimationSpeed = 2.0f;
    ring->FocusOn(ChildNamed(*ring->Root, "a.txt"));
    Frame(50); // a frame time for the repeated updates
    TheApp->ApplyDisplayChange();
    EXPECT_FALSE(ring->PositionAnimation->Running()); // the view jumped to the end of its move
}

TEST_F(ApplicationTest, ClosingRingsNeverLeavesAFreedCurrentRing)
{
    Tree.MakeFolder("a");
    Tree.MakeFolder("b");
    QOXRing* a = Open("a");
    Open("b");
    TheApp->CloseRing(a);
    EXPECT_EQ(TheApp->Rings->Count(), 1);
    EXPECT_NE(TheApp->CurrentRing, nullptr);
    TheApp->CloseRing(TheApp->CurrentRing);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    Open("a");
    Open("b");
    TheApp->CloseAllRings();
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    EXPECT_TRUE(TheApp->AllRingsMinimized());
}

TEST_F(ApplicationTest, DriveLabelsAndStartFolders)
{
    EXPECT_EQ(TheApp->DriveLabel("/"), "/  (HDD)");
    EXPECT_EQ(TheApp->DriveLabel("/proc/"), "");
    const std::string longPath = "/" + std::string(40, 'x') + "/";
    EXPECT_EQ(TheApp->DriveLabel(longPath), longPath.substr(0, 32) + "  (HDD)");
    ::unsetenv("PROGRAMFILES");
    EXPECT_EQ(QOXApp::SpecialFolder("PROGRAMFILES"), "/usr/");
    EXPECT_EQ(QOXApp::DocumentsFolder().back(), '/');
}

// A folder of 6,000 files of long names and 60 folders, read a part (about 1,200 names) a frame.
class ScanAcrossFramesTest : public CursorTest {
protected:
    static constexpr int kFiles = 6000;
    static constexpr int kFolders = 60;

    void SetUp() override
    {
        CursorTest::SetUp();
        for (int i = 0; i < kFiles; ++i)
            Tree.File("a-file-with-a-long-name-so-that-parts-fill-quickly-" + std::to_string(100000 + i), 1);
        for (int i = 0; i < kFolders; ++i)
            Tree.File("folder-" + std::to_string(i) + "/inside.txt", 1);
        TheApp->ScanSlice = TheApp->FirstScanSlice = std::chrono::milliseconds(0);
    }
    QOXRing* OpenAcrossFrames()
    {
        QOXRing* ring = TheApp->CreateRing(Tree.Root(), QAScan::AcrossFrames);
        EXPECT_TRUE(ring != nullptr && ring->Scanning());
        return ring;
    }
    static int Children(const QOXRing* ring) { return ring->Root->Folders->Count() + ring->Root->Files->Count(); }
    // Every entry of the folder is on the ring, once.
    static void ExpectWhole(const QOXRing* ring)
    {
        std::set<std::string> names;
        ring->Root->ForEachChild([&](const QRElement* child) { names.insert(child->Name); });
        EXPECT_EQ(Children(ring), kFiles + kFolders);
        EXPECT_EQ(names.size(), static_cast<std::size_t>(kFiles + kFolders));
    }
};

// The ring shows what has been read so far and the status bar says the folder is being read; a
// folder of it can be clicked (selected and expanded) while the rest comes in, and in the end
// every entry is there once and laid out.
TEST_F(ScanAcrossFramesTest, AGrowingRingCanBeClickedAndExpanded)
{
    QOXRing* ring = OpenAcrossFrames();
    const int first = Children(ring);
    EXPECT_GT(first, 0);
    EXPECT_LT(first, kFiles + kFolders);
    Pump(); // the frame shows what is there, then reads on
    EXPECT_GT(Children(ring), first);
    EXPECT_EQ(Window.Panels[QAStatusPanel::Counting], "Reading… " + std::to_string(first) + " entries");
    auto* folder = ring->Root->Folders->Get(0);
    Click(folder);
    EXPECT_TRUE(folder->Selected);
    EXPECT_TRUE(folder->Expanded);
    EXPECT_NE(ChildNamed(*folder, "inside.txt"), nullptr);
    EXPECT_TRUE(ring->Scanning());
    std::int64_t files = 0; // the status bar counts what is there so far, as a walk would
    ring->Root->ForEachChild([&](const QRElement* child) { files += child->Visible && !child->IsFolder() ? 1 : 0; });
    const int folders = ring->Root->Folders->Count();
    Pump();
    EXPECT_EQ(Window.Panels[QAStatusPanel::Files], "Files: " + std::to_string(files + 1));
    EXPECT_EQ(Window.Panels[QAStatusPanel::Folders], "Folders: " + std::to_string(folders));
    ASSERT_TRUE(PumpUntil([&] { return !ring->Scanning(); }));
    ExpectWhole(ring);
    Pump();
    EXPECT_EQ(Window.Panels[QAStatusPanel::Counting], "");
    float end = 0.0f;
    ring->Root->ForEachChild([&](const QRElement* child) { end = std::max(end, child->EndAngle); });
    EXPECT_GT(end, 359.0f);
}

// Whatever ends a scan midway leaves nothing half done: a refresh or going up a level reads the
// rest first, closing the ring or quitting frees it with its reading.
TEST_F(ScanAcrossFramesTest, RefreshingClosingAndQuittingInTheMiddleOfAScan)
{
    const std::vector<std::pair<std::string, std::function<void(QOXRing*)>>> endings = {
        {"refresh", [&](QOXRing*) { TheApp->RefreshAll(); }},
        {"up one level", [&](QOXRing* ring) { ring->UpOneLevel(); }},
        {"close", [&](QOXRing* ring) { TheApp->CloseRing(ring); }},
        {"quit", [&](QOXRing*) { TheApp.reset(); }},
    };
    for (const auto& [ending, act] : endings) {
        QOXRing* ring = OpenAcrossFrames();
        act(ring);
        if (ending == "refresh")
            ExpectWhole(ring);
        if (ending == "up one level") {
            const std::string name = std::filesystem::path(Tree.Root()).parent_path().filename().string() + "/";
            const auto* old = static_cast<const QREFolder*>(ChildNamed(*ring->Root, name));
            ASSERT_NE(old, nullptr);
            EXPECT_EQ(old->Folders->Count() + old->Files->Count(), kFiles + kFolders);
        }
        if (ending == "refresh" || ending == "up one level") {
            EXPECT_FALSE(ring->Scanning()) << ending;
            Pump();
            TheApp->CloseAllRings();
        }
    }
}

} // namespace
