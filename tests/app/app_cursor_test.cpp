#include "app/app_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/cursor_fixture.h"

namespace {

class CursorQueries : public CursorTest {
protected:
    // A ring on the tree's folder "f/" with sub-folders s0..s2 and files a0..a3.
    QREFolder& Folder()
    {
        for (const char* name : {"f/s0", "f/s1", "f/s2"})
            Tree.MakeFolder(name);
        for (const char* name : {"f/a0.txt", "f/a1.txt", "f/a2.txt", "f/a3.txt"})
            Tree.File(name, 10);
        QOXRing* ring = Open();
        auto* folder = static_cast<QREFolder*>(ChildNamed(*ring->Root, "f/"));
        folder->Expand();
        ring->Relayout();
        return *folder;
    }
};

TEST_F(CursorQueries, ACursorStartsIdleAndRegistersItselfWithTheApplication)
{
    EXPECT_EQ(Cursor->GetName(), "APP Cursor");
    EXPECT_EQ(TheApp->Cursor, Cursor);
    EXPECT_EQ(Cursor->Button, QAMouseButton::None);
    EXPECT_EQ(Cursor->CurrentElement, nullptr);
    EXPECT_EQ(Cursor->AnchorElement, nullptr);
    EXPECT_FALSE(Cursor->MenuOpen);
    EXPECT_FALSE(Cursor->RingMenuPending);
    EXPECT_EQ(Cursor->FilesToCopy->Count(), 0);
    EXPECT_TRUE(Cursor->Enabled());
    EXPECT_FALSE(Cursor->RangeActive());
}

TEST_F(CursorQueries, TheThirteenActionsAreRegisteredInTheirOrder)
{
    ASSERT_EQ(Input->Buttons.size(), 13u);
    const std::vector<std::tuple<std::string, std::string, int>> expected{
        {"Left", "Mouse", 1000},        {"Right", "Mouse", 1001},     {"Middle", "Mouse", 1002},
        {"Zoom In", "Mouse", 1033},     {"Zoom Out", "Mouse", 1034},  {"Movement Mode", "Movement", 1002},
        {"Pan", "Movement", 29},        {"Zoom", "Movement", 42},     {"Rotate", "Movement", 56},
        {"Add", "Selection", 42},       {"Invert", "Selection", 29},  {"Switch Ring", "Rings", 15},
        {"Display Rings", "Rings", 57}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TButton& button = Input->Buttons[i];
        EXPECT_EQ(std::tie(button.Name, button.Group, button.Codes[0]), expected[i]) << i;
        EXPECT_EQ(button.Codes[1], -1);
    }
}

TEST_F(CursorQueries, DisplayRingsDisablesTheCursorOnlyWhileTheWindowIsActive)
{
    Play(Frame().Press(kScanSpace));
    EXPECT_FALSE(Cursor->Enabled());
    Menus.Active = false;
    EXPECT_TRUE(Cursor->Enabled());
    Menus.Active = true;
    Play(Frame().Release(kScanSpace));
    EXPECT_TRUE(Cursor->Enabled());
}

TEST_F(CursorQueries, InvertIsReadOnceAFrame)
{
    Play(Frame().Press(kScanLeftCtrl));
    EXPECT_TRUE(Cursor->InvertHeld());
    Play();
    EXPECT_TRUE(Cursor->InvertHeld());
    Play(Frame().Release(kScanLeftCtrl));
    EXPECT_FALSE(Cursor->InvertHeld());
}

TEST_F(CursorQueries, ThePointerPositionIsTakenFromTheInputEveryFrame)
{
    Play(Frame().Move(7, -5));
    // The scripted pointer starts at (400, 300) on a view whose origin is (100, 50).
    EXPECT_EQ(Cursor->MousePosition, (QAPoint{307.0f, 245.0f}));
}

TEST_F(CursorQueries, ARangeIsActiveDuringALeftDragOverElements)
{
    QREFolder& folder = Folder();
    QRElement* first = folder.Files->Get(0);
    QRElement* third = folder.Files->Get(2);
    PointAt(third);
    PressButton(kLeft);
    EXPECT_FALSE(Cursor->RangeActive());
    PointAt(first);
    EXPECT_TRUE(Cursor->RangeActive());
    EXPECT_EQ(Cursor->CurrentElement, first);
    EXPECT_EQ(Cursor->AnchorElement, third);
    std::vector<bool> inRange;
    folder.ForEachChild([&](QRElement* child) { inRange.push_back(Cursor->InRange(child)); });
    EXPECT_EQ(inRange, (std::vector<bool>{false, false, false, true, true, true, false}));
    EXPECT_FALSE(Cursor->InRange(&folder));
    EXPECT_FALSE(Cursor->InRange(nullptr));
    ReleaseButton(kLeft);
    EXPECT_FALSE(Cursor->RangeActive());
}

// Sub-folders come first on a ring, so a range between a sub-folder and a file holds the later
// sub-folders and the earlier files, whichever end the drag started at.
TEST_F(CursorQueries, RangesRunFromSubFoldersThroughFiles)
{
    QREFolder& folder = Folder();
    const auto rangeOf = [&](QRElement* anchor, QRElement* current) {
        Cursor->AnchorElement = anchor;
        Cursor->CurrentElement = current;
        std::string marks;
        folder.ForEachChild([&](QRElement* child) { marks += Cursor->InRange(child) ? 'x' : '.'; });
        return marks;
    };
    QRElement* s1 = folder.Folders->Get(1);
    QRElement* s2 = folder.Folders->Get(2);
    QRElement* a0 = folder.Files->Get(0);
    QRElement* a2 = folder.Files->Get(2);
    QRElement* a3 = folder.Files->Get(3);
    EXPECT_EQ(rangeOf(s1, a2), ".xxxxx.");
    EXPECT_EQ(rangeOf(a2, s1), ".xxxxx.");
    EXPECT_EQ(rangeOf(s2, s1), ".xx....");
    EXPECT_EQ(rangeOf(a3, a0), "...xxxx");
    EXPECT_EQ(rangeOf(a0, a0), "...x...");
    EXPECT_EQ(rangeOf(s1, s1), ".x.....");
}

} // namespace
