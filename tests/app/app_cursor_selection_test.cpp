#include "app/app_cursor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/cursor_fixture.h"

namespace {

// A ring on the tree's root holding "f/" (sub-folders s0..s2 with a file each, files a0..a3) and
// "g/" (one file), with "f/" expanded.
class CursorSelection : public CursorTest {
protected:
    void SetUp() override
    {
        CursorTest::SetUp();
        for (const char* name : {"f/s0/in.txt", "f/s1/in.txt", "f/s2/in.txt", "f/a0.txt", "f/a1.txt", "f/a2.txt",
                                 "f/a3.txt", "g/b.txt"})
            Tree.File(name, 10);
        Ring = Open();
        F = Child(*Ring->Root, "f/");
        G = Child(*Ring->Root, "g/");
        F->Expand();
        G->Expand();
        Ring->Relayout();
    }
    static QREFolder* Child(const QREFolder& folder, const std::string& name)
    {
        return static_cast<QREFolder*>(ChildNamed(folder, name));
    }
    // Children in list order, which is the order the folder found them on the disk.
    QRElement* File(int index) const { return F->Files->Get(index); }
    QREFolder* Sub(int index) const { return F->Folders->Get(index); }

    // The names of elements, in the order given.
    static std::vector<std::string> NamesOf(const std::vector<QRElement*>& elements)
    {
        std::vector<std::string> names;
        for (const QRElement* element : elements)
            names.push_back(element->Name);
        return names;
    }

    QOXRing* Ring = nullptr;
    QREFolder* F = nullptr;
    QREFolder* G = nullptr;
};

TEST_F(CursorSelection, ALeftPressOnEmptySpaceClearsEverySelectionInEveryRing)
{
    Tree.File("other/x.txt", 1);
    QOXRing* other = Open("other/");
    QRElement* x = other->Root->Files->Get(0);
    File(1)->Selected = true;
    x->Selected = true;
    Click(kEmpty);
    EXPECT_FALSE(File(1)->Selected);
    EXPECT_FALSE(x->Selected);
    EXPECT_EQ(Cursor->CurrentElement, nullptr);
    EXPECT_TRUE(Menus.PopUps.empty());
}

TEST_F(CursorSelection, AClickOnAFileLeavesExactlyThatFileSelected)
{
    File(0)->Selected = true;
    G->Files->Get(0)->Selected = true;
    Click(File(2));
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(2)}));
    EXPECT_FALSE(G->Files->Get(0)->Selected);
    EXPECT_EQ(Cursor->CurrentElement, File(2));
    EXPECT_EQ(Cursor->ElementRing, Ring);
    EXPECT_EQ(Cursor->Button, QAMouseButton::None);
}

TEST_F(CursorSelection, AClickOnACollapsedFolderExpandsItAndASecondClickCollapsesIt)
{
    QREFolder* s1 = Sub(1);
    ASSERT_FALSE(s1->Expanded);
    Click(s1);
    EXPECT_TRUE(s1->Expanded);
    EXPECT_TRUE(s1->Selected);
    EXPECT_EQ(s1->Files->Count(), 1); // expanding scanned the folder
    EXPECT_EQ(Ring->Target, s1);      // and the ring turns towards it
    Click(s1);
    EXPECT_FALSE(s1->Expanded);
    EXPECT_TRUE(s1->Selected);
}

TEST_F(CursorSelection, TheRootOfARingStaysExpandedWhenClicked)
{
    Click(Ring->Root);
    EXPECT_TRUE(Ring->Root->Expanded);
    EXPECT_TRUE(Ring->Root->Selected);
}

TEST_F(CursorSelection, AddKeepsOtherSelectionsAndLeavesAnExpandedFolderExpanded)
{
    File(0)->Selected = true;
    Click(F, kLeft, kScanLeftShift);
    EXPECT_TRUE(F->Expanded);
    EXPECT_TRUE(F->Selected);
    EXPECT_TRUE(File(0)->Selected);
    // A collapsed folder clicked with "Add" is expanded as well.
    Click(Sub(0), kLeft, kScanLeftShift);
    EXPECT_TRUE(Sub(0)->Expanded);
    EXPECT_TRUE(File(0)->Selected);
}

TEST_F(CursorSelection, InvertFlipsOneElementAndNeverExpandsOrCollapses)
{
    File(0)->Selected = true;
    Click(Sub(1), kLeft, kScanLeftCtrl);
    EXPECT_TRUE(Sub(1)->Selected);
    EXPECT_FALSE(Sub(1)->Expanded);
    EXPECT_TRUE(File(0)->Selected);
    Click(F, kLeft, kScanLeftCtrl);
    EXPECT_TRUE(F->Selected);
    EXPECT_TRUE(F->Expanded);
    Click(File(0), kLeft, kScanLeftCtrl);
    EXPECT_FALSE(File(0)->Selected);
    EXPECT_EQ(SelectedNames(*F), NamesOf({Sub(1)}));
}

TEST_F(CursorSelection, ADragFromTheThirdFileToTheFirstSelectsTheFirstThree)
{
    G->Files->Get(0)->Selected = true;
    Drag(File(2), File(0));
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(0), File(1), File(2)}));
    EXPECT_FALSE(G->Files->Get(0)->Selected);
    EXPECT_FALSE(F->Selected);
}

TEST_F(CursorSelection, ADragFromASubFolderToAFileSelectsTheLaterSubFoldersAndTheEarlierFiles)
{
    Drag(Sub(1), File(1));
    EXPECT_EQ(SelectedNames(*F), NamesOf({Sub(1), Sub(2), File(0), File(1)}));
    EXPECT_FALSE(Sub(1)->Expanded); // a drag never expands
    Drag(File(2), Sub(2));
    EXPECT_EQ(SelectedNames(*F), NamesOf({Sub(2), File(0), File(1), File(2)}));
}

TEST_F(CursorSelection, RangesWithAddOrInvertKeepOrFlipWhatWasSelected)
{
    File(3)->Selected = true;
    File(1)->Selected = true;
    Drag(File(0), File(1), kScanLeftCtrl);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(0), File(3)}));
    Drag(Sub(2), Sub(2), kScanLeftShift); // a press and release on one spot is a click
    EXPECT_EQ(SelectedNames(*F), NamesOf({Sub(2), File(0), File(3)}));
    Drag(File(1), File(2), kScanLeftShift);
    EXPECT_EQ(SelectedNames(*F), NamesOf({Sub(2), File(0), File(1), File(2), File(3)}));
}

TEST_F(CursorSelection, ADragEndingInAnotherFolderClearsTheSelectionAndSelectsNothing)
{
    File(3)->Selected = true;
    Drag(File(0), G->Files->Get(0));
    EXPECT_TRUE(SelectedNames(*F).empty());
    EXPECT_TRUE(SelectedNames(*G).empty());
    File(3)->Selected = true;
    Drag(File(0), G->Files->Get(0), kScanLeftShift);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(3)}));
    EXPECT_TRUE(SelectedNames(*G).empty());
}

TEST_F(CursorSelection, ADragOverEmptySpaceKeepsTheElementOfThePress)
{
    PointAt(File(1));
    PressButton(kLeft);
    PointAt(kEmpty);
    EXPECT_EQ(Cursor->CurrentElement, File(1));
    ReleaseButton(kLeft);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(1)}));
}

// A left drag from the selection that leaves the view hands the ring's selection to the window's
// drag and keeps it selected; a drag that stays inside, a click on the selection and a drag from
// elsewhere work as ever.
TEST_F(CursorSelection, ADragFromTheSelectionOutOfTheViewCarriesItOut)
{
    struct DragsOut : QADragOutLink {
        void DragOut(const std::vector<std::string>& paths) override { Paths.push_back(paths); }
        std::vector<std::vector<std::string>> Paths;
    };
    constexpr std::pair<int, int> kLeftOfView{-4, 200};
    constexpr std::pair<int, int> kBelowView{200, 480};
    struct Case {
        const char* Name;
        int From;                      // the file pressed
        std::optional<int> To;         // the file the drag ends on, or none: out of the view
        std::pair<int, int> Out;       // where it leaves the view
        bool DraggedOut;
        std::vector<int> SelectedAfter; // files
    };
    for (const Case& test : std::vector<Case>{
             {"from the selection out of the view", 2, std::nullopt, kLeftOfView, true, {0, 2}},
             {"from the selection out at the bottom", 0, std::nullopt, kBelowView, true, {0, 2}},
             {"from the selection to another file", 2, 1, {}, false, {1, 2}},
             {"a click on the selection", 2, 2, {}, false, {2}},
             {"from another file out of the view", 3, std::nullopt, kLeftOfView, false, {3}},
         }) {
        SCOPED_TRACE(test.Name);
        DragsOut drags;
        Cursor->DragOutLink = &drags;
        Click(kEmpty);
        File(0)->Selected = true;
        File(2)->Selected = true;
        PointAt(File(test.From));
        PressButton(kLeft);
        if (test.To)
            PointAt(File(*test.To));
        else
            PointAt(test.Out);
        ReleaseButton(kLeft);
        std::vector<QRElement*> selected;
        for (const int index : test.SelectedAfter)
            selected.push_back(File(index));
        EXPECT_EQ(SelectedNames(*F), NamesOf(selected));
        const std::vector<std::vector<std::string>> expected{{File(0)->FullPath(), File(2)->FullPath()}};
        EXPECT_EQ(drags.Paths, test.DraggedOut ? expected : decltype(expected){});
        EXPECT_EQ(Cursor->Button, QAMouseButton::None);
    }
}

TEST_F(CursorSelection, ADragBetweenRingRootsEndsAsAClickOnTheRoot)
{
    Tree.File("other/x.txt", 1);
    QOXRing* other = Open("other/");
    Drag(Ring->Root, other->Root);
    EXPECT_FALSE(Cursor->Dragging);
    EXPECT_TRUE(other->Root->Selected);
    EXPECT_FALSE(Ring->Root->Selected);
    EXPECT_EQ(Cursor->ElementRing, other);
}

TEST_F(CursorSelection, ARightPressOnAnUnselectedElementMakesItTheOnlySelection)
{
    File(0)->Selected = true;
    File(1)->Selected = true;
    PointAt(File(2));
    PressButton(kRight);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(2)}));
    EXPECT_TRUE(Menus.PopUps.empty());
    ReleaseButton(kRight);
    ASSERT_EQ(Menus.PopUps.size(), 1u);
    EXPECT_EQ(Menus.PopUps[0].Menu, QAMenu::Element);
    EXPECT_TRUE(Cursor->MenuOpen);
}

TEST_F(CursorSelection, ARightPressOnASelectedElementKeepsTheSelection)
{
    File(0)->Selected = true;
    File(1)->Selected = true;
    Click(File(1), kRight);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(0), File(1)}));
    ASSERT_EQ(Menus.PopUps.size(), 1u);
    // The next press closes the menu's hover pause.
    PointAt(File(1));
    PressButton(kLeft);
    EXPECT_FALSE(Cursor->MenuOpen);
}

TEST_F(CursorSelection, ARightDragOpensNoMenu)
{
    PointAt(File(0));
    PressButton(kRight);
    PointAt(File(1));
    EXPECT_EQ(Cursor->CurrentElement, File(0)); // only a left drag follows the pointer
    ReleaseButton(kRight);
    EXPECT_TRUE(Menus.PopUps.empty());
    EXPECT_FALSE(Cursor->RangeActive());
}

TEST_F(CursorSelection, APressWhileDisplayRingsIsHeldDoesNothing)
{
    File(0)->Selected = true;
    Play(Frame().Press(kScanSpace));
    Click(File(1));
    EXPECT_EQ(Cursor->Button, QAMouseButton::None);
    EXPECT_EQ(SelectedNames(*F), NamesOf({File(0)}));
    Click(File(1), kRight);
    EXPECT_TRUE(Menus.PopUps.empty());
}

TEST_F(CursorSelection, TheButtonTheInputSeesDownWinsOverTheEventsButton)
{
    PointAt(File(0));
    Play(Frame().PressButton(kRight));
    Cursor->Press(QAMouseButton::Left);
    EXPECT_EQ(Cursor->Button, QAMouseButton::Right);
    ReleaseButton(kRight);
    PointAt(File(0));
    Cursor->Press(static_cast<QAMouseButton>(3)); // no button down in the input: an odd one is left
    EXPECT_EQ(Cursor->Button, QAMouseButton::Left);
}

TEST_F(CursorSelection, ADoubleClickOpensFilesOnly)
{
    PointAt(File(3));
    PressButton(kLeft);
    ReleaseButton(kLeft);
    Cursor->OpenCurrent();
    EXPECT_EQ(Desktop.OpenedDocuments, (std::vector<std::string>{File(3)->FullPath()}));
    Click(Sub(0));
    Cursor->OpenCurrent();
    EXPECT_TRUE(Sub(0)->Expanded);
    EXPECT_EQ(Desktop.OpenedDocuments.size(), 1u);
}

} // namespace
