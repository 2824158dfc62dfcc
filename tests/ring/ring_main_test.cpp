#include "ring/ring_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "ring/resource_iteration.h"
#include "ring/ring_sizes.h"
#include "tests/support/app_fixture.h"

namespace {

class RingTest : public AppTest {};

struct Walked {
    std::int64_t Folders = 0;
    std::int64_t Files = 0;
    bool operator==(const Walked&) const = default;
};

// The status counts walked afresh: the visible children of every folder, shown or not. Every
// folder's own counts are checked on the way; `wrong` names the first that differs.
Walked WalkCounts(const QREFolder& folder, std::string& wrong)
{
    Walked own;
    Walked total;
    folder.ForEachChild([&](const QRElement* child) {
        if (child->Visible)
            ++(child->IsFolder() ? own.Folders : own.Files);
        if (child->IsFolder()) {
            const Walked below = WalkCounts(*static_cast<const QREFolder*>(child), wrong);
            total.Folders += below.Folders;
            total.Files += below.Files;
        }
    });
    total.Folders += own.Folders;
    total.Files += own.Files;
    const bool same = folder.VisibleFolderCount() == own.Folders && folder.VisibleFileCount() == own.Files &&
                      folder.TotalFolderCount() == total.Folders && folder.TotalFileCount() == total.Files;
    if (!same && wrong.empty())
        wrong = folder.FullPath();
    return total;
}

TEST_F(RingTest, ThreeUnsetFilesShareTheCircleEqually)
{
    Tree.File("a", 1);
    Tree.File("b", 2);
    Tree.File("c", 3);
    QOXRing* ring = Open();
    float start = 0.0f;
    ring->Root->ForEachChild([&](QRElement* child) {
        EXPECT_FALSE(child->SizeKnown());
        EXPECT_FLOAT_EQ(SectorOf(child), 120.0f);
        EXPECT_FLOAT_EQ(child->StartAngle, start);
        EXPECT_EQ(child->Level, 2);
        start = child->EndAngle;
    });
    EXPECT_NEAR(start, 360.0f, 1e-3);
    EXPECT_EQ(ring->Root->Level, 1);
    EXPECT_FLOAT_EQ(SectorOf(ring->Root), 360.0f);
}

TEST_F(RingTest, SizesShareBySizeRatioWithAMinimumFactor)
{
    Settings().ComputeFileSizeAutomatically = true;
    Settings().MinimumSizeFactor = 0.25f;
    Tree.File("small", 100);
    Tree.File("large", 1000);
    QOXRing* ring = Open();
    const float small = SectorOf(ChildNamed(*ring->Root, "small"));
    const float large = SectorOf(ChildNamed(*ring->Root, "large"));
    EXPECT_NEAR(small, 360.0f * 0.325f / 1.325f, 0.01f);
    EXPECT_NEAR(small, 88.3f, 0.1f);
    EXPECT_NEAR(large, 271.7f, 0.1f);
    EXPECT_NEAR(small + large, 360.0f, 1e-3);
}

// Sizes of 2 GiB and more are neither negative nor cut: a 3 GiB file is the widest sector and a
// folder's total keeps every bit.
TEST_F(RingTest, SizesOfTwoGibibytesAndMoreLayOutAsLarge)
{
    Settings().ComputeFileSizeAutomatically = true;
    Settings().ComputeFolderSize = true;
    constexpr std::int64_t kGiB = 1LL << 30;
    Tree.File("kib", 1024);
    Tree.File("two-gib", 2 * kGiB);
    Tree.File("three-gib", 3 * kGiB);
    QOXRing* ring = Open();
    const float kib = SectorOf(ChildNamed(*ring->Root, "kib"));
    const float two = SectorOf(ChildNamed(*ring->Root, "two-gib"));
    const float three = SectorOf(ChildNamed(*ring->Root, "three-gib"));
    EXPECT_LT(kib, two);
    EXPECT_LT(two, three);
    EXPECT_EQ(ring->Root->Size, 5 * kGiB + 1024);
}

TEST_F(RingTest, OneSetAndOneUnsetSizeGetHalfEach)
{
    Tree.File("set", 500);
    Tree.File("unset", 5);
    QOXRing* ring = Open();
    ChildNamed(*ring->Root, "set")->ComputeSize();
    ring->Relayout();
    EXPECT_FLOAT_EQ(SectorOf(ChildNamed(*ring->Root, "set")), 180.0f);
    EXPECT_FLOAT_EQ(SectorOf(ChildNamed(*ring->Root, "unset")), 180.0f);
}

TEST_F(RingTest, AnExpandedFolderWidensAsItsWeightAnimates)
{
    Tree.File("dir/inside", 1);
    Tree.File("file", 1);
    Settings().AnimationSpeed = 4.0f;
    QOXRing* ring = Open();
    auto* dir = static_cast<QREFolder*>(ChildNamed(*ring->Root, "dir/"));
    QRElement* file = ChildNamed(*ring->Root, "file");
    dir->Expand();
    ring->Relayout();
    EXPECT_FLOAT_EQ(SectorOf(dir), 180.0f);
    float before = dir->Weight();
    Frame(50);
    // Each frame covers sin(90 x 4 x 0.05) = sin(18 degrees) of the way left to the target.
    EXPECT_NEAR((dir->Weight() - before) / (3.0f - before), std::sin(18.0f * 3.14159265f / 180.0f), 1e-4);
    for (int i = 0; i < 60; ++i)
        Frame(50);
    EXPECT_NEAR(dir->Weight(), 3.0f, 1e-3);
    EXPECT_NEAR(SectorOf(dir), 270.0f, 0.1f);
    EXPECT_NEAR(SectorOf(file), 90.0f, 0.1f);
    EXPECT_EQ(ChildNamed(*dir, "inside")->Level, 3);
    EXPECT_NEAR(SectorOf(ChildNamed(*dir, "inside")), SectorOf(dir), 1e-3);

    dir->Collapse();
    for (int i = 0; i < 60; ++i)
        Frame(50);
    EXPECT_FLOAT_EQ(dir->Weight(), 1.0f);
    EXPECT_EQ(dir->WeightAnimation, nullptr);
    EXPECT_FALSE(ring->LayoutNeeded);
    EXPECT_FLOAT_EQ(SectorOf(file), 180.0f);
}

TEST_F(RingTest, LayersAreMadeOnDemand)
{
    QOXRing* ring = QOXNew<QOXRing>(Tree.Root());
    EXPECT_EQ(ring->Layers->Count(), 2);
    EXPECT_EQ(ring->InnerRadius(5), 43.0f);
    EXPECT_EQ(ring->Layers->Count(), 6);
    const float expected[] = {0.0f, 3.0f, 7.0f, 19.0f, 31.0f, 43.0f};
    for (int level = 0; level < 6; ++level) {
        EXPECT_EQ(ring->InnerRadius(level), expected[level]);
        EXPECT_EQ(ring->Layers->Get(level)->Index, level);
    }
    ring->Destroy();
}

TEST_F(RingTest, TheFirstLayoutGivesTheRootNoScaleAndTheNextOneItsOwn)
{
    Tree.File("a", 1);
    QOXRing* ring = QOXNew<QOXRing>(Tree.Root());
    ring->Root->Expand();
    ring->Relayout();
    EXPECT_EQ(ring->Root->Scale, 0.0f);
    ring->Relayout();
    EXPECT_EQ(ring->Root->Scale, 1.0f);
    EXPECT_TRUE(ring->Minimized);
    ring->Destroy();
}

TEST_F(RingTest, UpOneLevelKeepsTheOldFolderOpen)
{
    Tree.File("top/middle/inner/deep.txt", 1);
    Tree.File("top/sibling.txt", 1);
    QOXRing* ring = Open("top/middle/");
    QREFolder* oldRoot = ring->Root;
    auto* inner = static_cast<QREFolder*>(ChildNamed(*oldRoot, "inner/"));
    inner->Expand();
    ring->UpOneLevel();
    EXPECT_EQ(ring->Folder, Tree.PathOf("top/"));
    EXPECT_NE(ring->Root, oldRoot);
    EXPECT_EQ(ChildNamed(*ring->Root, "middle/"), oldRoot);
    EXPECT_EQ(ring->Root->Folders->Count(), 1); // the scan found the old root, not a second one
    EXPECT_NE(ChildNamed(*ring->Root, "sibling.txt"), nullptr);
    EXPECT_TRUE(oldRoot->Expanded && inner->Expanded);
    EXPECT_EQ(oldRoot->Parent, ring->Root);
    EXPECT_EQ(oldRoot->Label, "middle");
    EXPECT_EQ(ChildNamed(*inner, "deep.txt")->FullPath(), Tree.PathOf("top/middle/inner/deep.txt"));
    EXPECT_EQ(ChildNamed(*inner, "deep.txt")->Level, 4);
    EXPECT_TRUE(ring->LayoutNeeded); // the old root animates to its focus weight
}

TEST_F(RingTest, UpOneLevelStopsAtTheFileSystemRoot)
{
    QOXRing* ring = QOXNew<QOXRing>("/");
    ring->UpOneLevel();
    EXPECT_EQ(ring->Folder, "/");
    ring->SetFolder(Tree.Root());
    ring->UpOneLevel();
    EXPECT_EQ(ring->Folder + ring->Root->Folders->Get(0)->Name, Tree.Root());
    EXPECT_TRUE(ring->Root->Expanded);
    ring->Destroy();
}

TEST_F(RingTest, RotationIsKeptWithinHalfATurn)
{
    QOXRing* ring = Open();
    ring->Rotation.Z = 190.0f;
    Frame();
    EXPECT_FLOAT_EQ(ring->Rotation.Z, -170.0f);
    ring->Rotation.Z = 180.0f;
    Frame();
    EXPECT_FLOAT_EQ(ring->Rotation.Z, 180.0f);
    ring->Rotation.Z = -180.0f;
    Frame();
    EXPECT_FLOAT_EQ(ring->Rotation.Z, -180.0f);
    ring->Rotation.Z = -200.0f;
    Frame();
    EXPECT_FLOAT_EQ(ring->Rotation.Z, 160.0f);
}

TEST_F(RingTest, FocusOnTurnsTheElementToTheRightSideAndArrivesExactly)
{
    Tree.File("a", 1);
    Tree.File("b", 1);
    Tree.File("c", 1);
    Settings().RingAnimationSpeed = 2.0f;
    QOXRing* ring = Open();
    QRElement* c = ChildNamed(*ring->Root, "c");
    ring->FocusOn(c);
    EXPECT_EQ(ring->Target, c);
    for (int i = 0; i < 11; ++i)
        Frame(50);
    EXPECT_EQ(ring->Target, nullptr);
    // The turn is not brought into half a turn: it ends exactly at 90 - mid-angle, perhaps wrapped.
    EXPECT_NEAR(std::remainder(ring->Rotation.Z - (90.0f - c->MidAngle()), 360.0f), 0.0f, 1e-3);
    const QXVector place = c->Position(); // with the turn done, the element sits on +x
    EXPECT_NEAR(place.Y, 0.0f, 1e-3);
    EXPECT_NEAR(place.X, 13.0f, 1e-3);
}

TEST_F(RingTest, MinimisingAndRestoring)
{
    Tree.MakeFolder("one");
    Tree.MakeFolder("two");
    QOXRing* first = Open("one");
    EXPECT_FALSE(first->Minimized);
    EXPECT_EQ(first->MinimizeAnimation->Progress, 0.5f); // every ring was minimised: from half way
    for (int i = 0; i < 10; ++i)
        Frame(50);
    EXPECT_TRUE(first->IsFullyShown());
    QOXRing* second = Open("two");
    EXPECT_TRUE(first->Minimized && first->IsMinimizeAnimating());
    EXPECT_EQ(second->MinimizeAnimation->Progress, 1.0f);
    EXPECT_FALSE(TheApp->AllRingsMinimized());
    for (int i = 0; i < 10; ++i)
        Frame(50);
    EXPECT_TRUE(first->IsFullyMinimized());
    EXPECT_TRUE(second->IsFullyShown());
    TheApp->SetCurrentRing(nullptr);
    for (int i = 0; i < 10; ++i)
        Frame(50);
    EXPECT_TRUE(TheApp->AllRingsMinimized());
}

TEST_F(RingTest, TheCurrentRingWritesTheStatusBar)
{
    Settings().ComputeFileSizeAutomatically = true;
    Settings().ComputeFolderSize = true;
    Tree.File("a", 100);
    Tree.File("sub/b", 20);
    Tree.File("sub/deeper/c", 3);
    QOXRing* ring = Open();
    static_cast<QREFolder*>(ChildNamed(*ring->Root, "sub/"))->ExpandAll();
    Frame();
    EXPECT_EQ(Window.Panels[QAStatusPanel::Folders], "Folders: 2");
    EXPECT_EQ(Window.Panels[QAStatusPanel::Files], "Files: 3");
    // The root summed its children when it was expanded, the unscanned "sub/" counting -1.
    EXPECT_EQ(Window.Panels[QAStatusPanel::Size], "Size: 99 Byte");
    TheApp->SetCurrentRing(nullptr);
    Window.Panels.clear();
    Frame();
    EXPECT_TRUE(Window.Panels.empty());
}

// The deepest band in use, walked afresh: visible elements inside expanded, visible folders.
int WalkDepth(const QREFolder& folder)
{
    int deepest = folder.Level;
    if (folder.Expanded)
        folder.ForEachChild([&](const QRElement* child) {
            if (child->Visible)
                deepest = std::max(deepest, child->IsFolder() ? WalkDepth(*static_cast<const QREFolder*>(child)) : child->Level);
        });
    return deepest;
}

// The counts are kept where elements change, never walked; after every kind of change they are
// what a fresh walk finds (and so is the deepest band, read from them), and the status bar shows
// them and the counted size.
TEST_F(RingTest, StatusCountsEqualAFreshWalkAfterEveryKindOfChange)
{
    Settings().CountFolderSizesInBackground = true;
    for (const char* file : {"docs/a.txt", "docs/.secret", "docs/old/b.png", "docs/old/deeper/c.png", "pics/d.png",
                             ".hidden/e.txt", "f.txt"})
        Tree.File(std::string("top/") + file, 10);
    QOXRing* ring = Open("top/");
    QVGeneric* images = TheApp->Views->AddView("Images");
    images->AddExtension("png");
    images->Disable();
    const auto folder = [&](const std::string& path) {
        QREFolder* found = ring->Root;
        for (std::size_t from = 0; from < path.size();) {
            const std::size_t slash = path.find('/', from);
            found = static_cast<QREFolder*>(ChildNamed(*found, path.substr(from, slash + 1 - from)));
            from = slash + 1;
        }
        return found;
    };
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"the scan", [] {}},
        {"expand", [&] { folder("docs/")->Expand(); }},
        {"expand all", [&] { ring->Root->ExpandAll(); }},
        {"collapse", [&] { folder("docs/old/")->Collapse(); }},
        {"hidden entries left out", [&] { Settings().DisplayHiddenFiles = false; TheApp->ApplyDisplayChange(); }},
        {"a view on", [&] { TheApp->ToggleView(images); }},
        {"the view off, hidden entries shown", [&] {
             Settings().DisplayHiddenFiles = true;
             TheApp->ToggleView(images);
         }},
        {"refresh after new and removed entries", [&] {
             Tree.File("top/pics/new/g.txt", 80);
             Tree.Remove("top/docs/old");
             Tree.Remove("top/f.txt");
             TheApp->RefreshAll();
         }},
        {"a live update", [&] {
             Tree.File("top/docs/live.txt", 90);
             Tree.MakeFolder("top/docs/live");
             EXPECT_TRUE(PumpUntil([&] { return ChildNamed(*folder("docs/"), "live/") != nullptr; }));
         }},
        {"a deletion", [&] {
             folder("docs/")->Selected = true;
             TheApp->DeleteSelectedInCurrentRing();
         }},
        {"removed as a child", [&] { ring->Root->RemoveChild(folder("pics/")); }},
        {"up one level", [&] {
             ring->UpOneLevel();
             ring = TheApp->CurrentRing;
         }},
    };
    for (const auto& [change, act] : changes) {
        act();
        ASSERT_TRUE(PumpUntil([&] { return !ring->Sizes->Progress().Busy; })) << change;
        Pump();
        std::string wrong;
        const Walked walked = WalkCounts(*ring->Root, wrong);
        EXPECT_EQ(wrong, "") << change;
        EXPECT_EQ(ring->MaxDepth(), WalkDepth(*ring->Root)) << change;
        EXPECT_EQ(Window.Panels[QAStatusPanel::Folders], "Folders: " + std::to_string(walked.Folders)) << change;
        EXPECT_EQ(Window.Panels[QAStatusPanel::Files], "Files: " + std::to_string(walked.Files)) << change;
        const std::string shown = ring->Folder.substr(Tree.Root().size());
        EXPECT_EQ(Window.Panels[QAStatusPanel::Size], "Size: " + std::to_string(Tree.SumsBelow(shown).Bytes) + " Byte")
            << change;
    }
}

TEST_F(RingTest, DriveInfoOfTheVolumeHoldingTheFolder)
{
    QOXRing* ring = QOXNew<QOXRing>("/");
    const QRDriveInfo info = ring->DriveInfo();
    EXPECT_EQ(info.TypeText, "HDD");
    EXPECT_GT(info.Total, 0);
    EXPECT_GE(info.Free, 0);
    ring->Destroy();
}

} // namespace
