#include "app/app_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ring/element_summary.h"
#include "ring/small_items.h"
#include "tests/support/cursor_fixture.h"

namespace {

using Item = QAMenuItem;

// A ring on the tree's folder "top/" with a sub-folder "sub/" (a file "in.txt" and a folder
// "deep/") and a file "top.txt".
class CursorCommands : public CursorTest {
protected:
    void SetUp() override
    {
        CursorTest::SetUp();
        Tree.File("top/sub/in.txt", 5);
        Tree.File("top/sub/deep/low.txt", 7);
        Tree.File("top/top.txt", 3);
        Ring = Open("top/");
        Sub = static_cast<QREFolder*>(ChildNamed(*Ring->Root, "sub/"));
        TopFile = ChildNamed(*Ring->Root, "top.txt");
    }
    // The items a right click on the element shows.
    QAMenuItems MenuOf(QRElement* element)
    {
        Menus.PopUps.clear();
        Click(element, kRight);
        EXPECT_EQ(Menus.PopUps.size(), 1u);
        EXPECT_EQ(Menus.PopUps.back().Menu, QAMenu::Element);
        return Menus.PopUps.back().Shown;
    }
    // The names of the elements marked by Cut or Copy.
    std::vector<std::string> Marked() const
    {
        std::vector<std::string> names;
        for (const QRElement* element : *Cursor->FilesToCopy)
            names.push_back(element->FullPath());
        return names;
    }

    QOXRing* Ring = nullptr;
    QREFolder* Sub = nullptr;
    QRElement* TopFile = nullptr;
};

TEST_F(CursorCommands, TheElementMenuShowsWhatFitsAFileAFolderAndARoot)
{
    EXPECT_EQ(MenuOf(TopFile), (QAMenuItems{Item::CMLineRename, Item::CMRename, Item::CMHideFromRing}));
    EXPECT_EQ(MenuOf(Sub), (QAMenuItems{Item::CMLineRename, Item::CMRename, Item::CMHideFromRing, Item::CMLineFolder, Item::CMExpandAll,
                                        Item::CMLineNew, Item::CMNew, Item::CMExpand, Item::CMNewRingFromFolder}));
    EXPECT_EQ(MenuOf(Ring->Root), (QAMenuItems{Item::CMLineFolder, Item::CMExpandAll, Item::CMLineNew, Item::CMNew,
                                               Item::CMLineRoot, Item::CMRingMinimize, Item::CMRingClose,
                                               Item::CMUpOneLevel}));
}

// A size-true ring's small-items sector: its menu offers the elements it stands for, the largest
// first, and choosing one makes it the current element, selected.
TEST_F(CursorCommands, TheSmallItemsMenuOffersWhatItGathers)
{
    Settings().SizeTrueRings = true;
    Settings().ComputeFileSizeAutomatically = true;
    RecordingMenuBar bar;
    TheApp->MenuBar = &bar;
    Tree.File("many/big", 1u << 30);
    for (int i = 1; i <= 4; ++i)
        Tree.File("many/s" + std::to_string(i), 10 * i);
    QOXRing* ring = Open("many/");
    ring->PixelsPerUnit = 20.0f;
    ring->Relayout();
    QRESummary* small = ring->SmallItems->Shown(*ring->Root);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->Caption(), "4 small items");
    EXPECT_EQ(MenuOf(small), (QAMenuItems{Item::CMSmallItems}));
    EXPECT_EQ(bar.Captions(QADataMenu::SmallItems),
              (std::vector<std::string>{"s4  40 B", "s3  30 B", "s2  20 B", "s1  10 B"}));
    bar.Menus[QADataMenu::SmallItems][1].Click();
    EXPECT_EQ(Cursor->CurrentElement, ChildNamed(*ring->Root, "s3"));
    EXPECT_TRUE(Cursor->CurrentElement->Selected);
    EXPECT_FALSE(small->Selected);
    EXPECT_EQ(MenuOf(ChildNamed(*ring->Root, "big")).count(Item::CMSmallItems), 0u);
}

TEST_F(CursorCommands, GoUpOneLevelIsHiddenOnlyAtTheFileSystemRoot)
{
    QOXRing* top = TheApp->CreateRing("/");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(MenuOf(top->Root).count(Item::CMUpOneLevel), 0u);
    EXPECT_EQ(MenuOf(top->Root).count(Item::CMRingClose), 1u);
    QOXRing* below = TheApp->CreateRing(Tree.Root());
    EXPECT_EQ(MenuOf(below->Root).count(Item::CMUpOneLevel), 1u);
}

TEST_F(CursorCommands, TheBackgroundMenuOffersRingItemsOnlyWithACurrentRing)
{
    Click(kEmpty, kRight);
    ASSERT_EQ(Menus.PopUps.size(), 1u);
    EXPECT_EQ(Menus.PopUps[0].Menu, QAMenu::Background);
    EXPECT_EQ(Menus.PopUps[0].Shown, (QAMenuItems{Item::CMBGMinimizeRing, Item::CMBGCloseRing, Item::CMBGLineRing}));
    EXPECT_TRUE(Cursor->MenuOpen);
    TheApp->SetCurrentRing(nullptr);
    Click(kEmpty, kRight);
    ASSERT_EQ(Menus.PopUps.size(), 2u);
    EXPECT_TRUE(Menus.PopUps[1].Shown.empty());
}

TEST_F(CursorCommands, TheRingListMenuOpensAtTheNextFrame)
{
    Cursor->RequestRingMenu(Ring);
    EXPECT_TRUE(Cursor->MenuOpen);
    EXPECT_TRUE(Menus.PopUps.empty());
    Play();
    ASSERT_EQ(Menus.PopUps.size(), 1u);
    EXPECT_EQ(Menus.PopUps[0].Menu, QAMenu::RingList);
    Play();
    EXPECT_EQ(Menus.PopUps.size(), 1u);
    EXPECT_EQ(Cursor->MenuRing, Ring);
}

TEST_F(CursorCommands, CutThenCopyMarksWhatIsSelectedAtTheCopy)
{
    TopFile->Selected = true;
    Cursor->MarkSelected(QACopyMode::Cut);
    EXPECT_EQ(Cursor->CopyMode, QACopyMode::Cut);
    EXPECT_EQ(Marked(), (std::vector<std::string>{TopFile->FullPath()}));
    TopFile->Selected = false;
    Sub->Selected = true;
    Cursor->MarkSelected(QACopyMode::Copy);
    EXPECT_EQ(Cursor->CopyMode, QACopyMode::Copy);
    EXPECT_EQ(Marked(), (std::vector<std::string>{Tree.PathOf("top/sub/")}));
    EXPECT_TRUE(Sub->Selected); // marking leaves the selection as it is
}

TEST_F(CursorCommands, AMarkedFolderStandsForItsContentsAndOtherRingsAreNotMarked)
{
    Sub->Expand();
    QOXRing* other = Open("top/sub/");
    TheApp->SetCurrentRing(Ring);
    Sub->Selected = true;
    ChildNamed(*Sub, "in.txt")->Selected = true;
    ChildNamed(*other->Root, "in.txt")->Selected = true;
    Cursor->MarkSelected(QACopyMode::Copy);
    EXPECT_EQ(Marked(), (std::vector<std::string>{Tree.PathOf("top/sub/")}));
}

TEST_F(CursorCommands, CutWithNothingSelectedEmptiesTheMarks)
{
    TopFile->Selected = true;
    Cursor->MarkSelected(QACopyMode::Copy);
    TopFile->Selected = false;
    Cursor->MarkSelected(QACopyMode::Cut);
    EXPECT_EQ(Cursor->FilesToCopy->Count(), 0);
    TheApp->SetCurrentRing(nullptr);
    TopFile->Selected = true;
    Cursor->MarkSelected(QACopyMode::Copy); // no current ring: nothing to mark
    EXPECT_EQ(Cursor->FilesToCopy->Count(), 0);
    EXPECT_EQ(Cursor->CopyMode, QACopyMode::Copy);
}

TEST_F(CursorCommands, MarksOfAFolderRefreshedAwayAreDropped)
{
    Sub->Expand();
    Sub->Ring->Relayout();
    QRElement* in = ChildNamed(*Sub, "in.txt");
    in->Selected = true;
    TopFile->Selected = true;
    Cursor->MarkSelected(QACopyMode::Copy);
    ASSERT_EQ(Cursor->FilesToCopy->Count(), 2);
    Click(in, kRight); // the press makes it the current and the anchor element
    Tree.Remove("top/sub");
    TheApp->RefreshAll();
    EXPECT_EQ(Marked(), (std::vector<std::string>{Tree.PathOf("top/top.txt")}));
    EXPECT_EQ(Cursor->CurrentElement, nullptr);
    EXPECT_EQ(Cursor->AnchorElement, nullptr);
    EXPECT_FALSE(Cursor->InRange(TopFile));
}

TEST_F(CursorCommands, MarksOfAClosedRingAreDropped)
{
    TopFile->Selected = true;
    Cursor->MarkSelected(QACopyMode::Cut);
    QOXRing* other = Open("top/sub/");
    TheApp->SetCurrentRing(other);
    ChildNamed(*other->Root, "in.txt")->Selected = true;
    Cursor->MarkSelected(QACopyMode::Cut);
    Cursor->FilesToCopy->Add(TopFile); // marks from two rings, as a later paste may leave them
    TheApp->CloseRing(Ring);
    EXPECT_EQ(Marked(), (std::vector<std::string>{Tree.PathOf("top/sub/in.txt")}));
    TheApp->CloseAllRings();
    EXPECT_EQ(Cursor->FilesToCopy->Count(), 0);
}

// A folder that goes takes all the marks below it at once; the other marks keep their order.
TEST_F(CursorCommands, ManyMarksBelowAFolderThatGoesLeaveTogether)
{
    for (int i = 0; i < 40; ++i) {
        Tree.File("top/sub/many-" + std::to_string(i), 1);
        Tree.File("top/kept-" + std::to_string(i), 1);
    }
    TheApp->RefreshAll();
    Sub->Expand();
    Ring->Relayout(); // marks are taken from what is drawn, so the sub-folder's files need sectors
    const auto select = [](QREFolder& folder) {
        folder.ForEachChild([](QRElement* child) { child->Selected = !child->IsFolder(); });
    };
    select(*Ring->Root);
    select(*Sub);
    Cursor->MarkSelected(QACopyMode::Copy);
    ASSERT_EQ(Cursor->FilesToCopy->Count(), 41 + 41);
    std::vector<std::string> kept;
    for (const std::string& path : Marked())
        if (path.find("/sub/") == std::string::npos)
            kept.push_back(path);
    Tree.Remove("top/sub");
    TheApp->RefreshAll();
    EXPECT_EQ(Marked(), kept);
}

TEST_F(CursorCommands, OpenComputeSizeExpandAndExpandAllActOnTheCurrentElement)
{
    Click(TopFile, kRight);
    Cursor->OpenElement();
    EXPECT_FALSE(Cursor->MenuOpen);
    EXPECT_EQ(Desktop.OpenedDocuments, (std::vector<std::string>{TopFile->FullPath()}));
    TopFile->Size = -1;
    Cursor->ComputeElementSize();
    EXPECT_EQ(TopFile->Size, 3);
    Click(Sub, kRight);
    Cursor->ToggleCurrent();
    EXPECT_TRUE(Sub->Expanded);
    Cursor->ToggleCurrent();
    EXPECT_FALSE(Sub->Expanded);
    Cursor->ExpandAllElement();
    auto* deep = static_cast<QREFolder*>(ChildNamed(*Sub, "deep/"));
    ASSERT_NE(deep, nullptr);
    EXPECT_TRUE(deep->Expanded);
    EXPECT_EQ(Ring->Target, Sub);
    Click(TopFile, kRight);
    Cursor->ExpandAllElement(); // a file has nothing to expand
    Cursor->ToggleCurrent();
    EXPECT_EQ(Desktop.OpenedDocuments.size(), 1u);
}

TEST_F(CursorCommands, ANewRingFromAFolderBecomesCurrent)
{
    Click(Sub, kRight);
    Cursor->NewRingFromFolder();
    ASSERT_EQ(TheApp->Rings->Count(), 2);
    EXPECT_EQ(TheApp->CurrentRing->Folder, Tree.PathOf("top/sub/"));
    EXPECT_EQ(Cursor->CurrentElement, nullptr); // a new current ring starts without a pick
    Click(TopFile, kRight);
    Cursor->NewRingFromFolder();
    EXPECT_EQ(TheApp->Rings->Count(), 2);
}

TEST_F(CursorCommands, MinimiseCloseAndCloseAllLeaveNoCurrentRing)
{
    QOXRing* other = Open("top/sub/");
    Cursor->MenuOpen = true;
    Cursor->MinimizeRing();
    EXPECT_FALSE(Cursor->MenuOpen);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    EXPECT_TRUE(other->Minimized);
    EXPECT_EQ(Window.Caption, "Orbivane");
    Cursor->CloseCurrentRing(); // nothing is current
    EXPECT_EQ(TheApp->Rings->Count(), 2);
    TheApp->SetCurrentRing(Ring);
    Cursor->CloseCurrentRing();
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    EXPECT_EQ(TheApp->RingAt(0), other);
    TheApp->SetCurrentRing(other);
    Cursor->CloseAllRings();
    EXPECT_EQ(TheApp->Rings->Count(), 0);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
}

TEST_F(CursorCommands, UpOneLevelReRootsTheCurrentRingAndNamesItInTheCaption)
{
    Click(Ring->Root, kRight);
    Cursor->UpOneLevel();
    EXPECT_EQ(Ring->Folder, Tree.Root());
    EXPECT_EQ(Window.Caption, "Orbivane - " + Tree.Root());
    EXPECT_EQ(Cursor->CurrentElement->FullPath(), Tree.PathOf("top/")); // the old root lives on
}

TEST_F(CursorCommands, TheRingListMenuMaximisesOrClosesItsRing)
{
    QOXRing* other = Open("top/sub/");
    Cursor->RequestRingMenu(Ring);
    Cursor->MaximizeMenuRing();
    EXPECT_EQ(TheApp->CurrentRing, Ring);
    EXPECT_FALSE(Ring->Minimized);
    Cursor->RequestRingMenu(Ring);
    Cursor->CloseMenuRing();
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
    EXPECT_EQ(TheApp->Rings->Count(), 1);
    EXPECT_EQ(Cursor->MenuRing, nullptr);
    Cursor->RequestRingMenu(other);
    Cursor->CloseMenuRing();
    EXPECT_EQ(TheApp->Rings->Count(), 0);
}

TEST_F(CursorCommands, TheRingListMenuOfARingClosedMeanwhileDoesNothing)
{
    QOXRing* other = Open("top/sub/");
    Cursor->RequestRingMenu(other);
    TheApp->CloseRing(other);
    Cursor->MaximizeMenuRing();
    Cursor->CloseMenuRing();
    EXPECT_EQ(TheApp->Rings->Count(), 1);
    EXPECT_EQ(TheApp->CurrentRing, nullptr);
}

TEST_F(CursorCommands, DisplayChangesBringTheRingBackToThePickedElement)
{
    Ring->Rotation = {0.0f, 0.0f, 0.0f};
    Click(Sub, kRight);
    TheApp->ApplyDisplayChange(); // runs the ring's turn to its end
    EXPECT_FLOAT_EQ(Ring->Rotation.Z, 90.0f - Sub->MidAngle());
}

} // namespace
