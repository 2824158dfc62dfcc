#include "app/app_cursor_files.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/qox_convert.h"
#include "platform/size_history_store.h"
#include "ring/ring_history.h"
#include "tests/app/file_commands_fixture.h"

namespace {

using platform::DeleteKind;

const std::string kSymbols = "A file name must not contain any of these symbols:\n \\ / : * ? \" < > |";
const std::string kDots = "The names \".\" and \"..\" cannot be given to a file or folder!";

TEST_F(FileCommandsTest, FileNamesWithoutForbiddenSymbolsOrDotNamesAreValid)
{
    ASSERT_EQ(QOXConvert::LineBreak(), "\n");
    struct Case {
        std::string Name;
        std::string Message; // empty: valid
    };
    std::vector<Case> cases = {{"report.txt", ""}, {"a b", ""}, {".hidden", ""}, {"...", ""},
                               {std::string(300, 'n'), ""}, {"", kSymbols}, {".", kDots}, {"..", kDots}};
    for (const char symbol : std::string("\\/:*?\"<>|"))
        cases.push_back({std::string("a") + symbol + "b", kSymbols});
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Desktop.Boxes.clear();
        EXPECT_EQ(Cursor->IsValidFileName(row.Name), row.Message.empty());
        EXPECT_EQ(LastBox(), row.Message);
    }
}

TEST_F(FileCommandsTest, TheDeleteConfirmationSaysWhatGoesAndWhere)
{
    EXPECT_EQ(DeleteConfirmation({{"/home/ann/a.txt", false}}, DeleteKind::Trash),
              "Do you really want to delete these Files?<br><br>1 item goes to the trash:<br>/home/ann/a.txt");
    std::vector<QADeleteItem> many;
    for (int i = 0; i < 11; ++i)
        many.push_back({"/d/f" + std::to_string(i) + " <&>", false});
    many.push_back({"/home/ann/", true});
    const std::string text = DeleteConfirmation(many, DeleteKind::Permanent);
    std::string expected = "Do you really want to delete these Files?<br><br>12 items will be deleted permanently:"
                           "<br><b>/home/ann/</b> (the whole folder of a ring)";
    for (int i = 0; i < 9; ++i)
        expected += "<br>/d/f" + std::to_string(i) + " &lt;&amp;&gt;";
    expected += "<br>and 2 more<br><br>This cannot be undone.";
    EXPECT_EQ(text, expected);
}

TEST_F(FileCommandsTest, DeleteAsksFirstGoesToTheTrashAndComesBackThroughUndo)
{
    Click(Child("top.txt"));
    Click(Sub(), kLeft, kScanLeftShift); // "Add": the key table's Shift never makes a deletion permanent
    const TreeSnapshot before = Snapshot(Tree.PathOf("top"));
    Dialogs.Answer = QAModalResult::Cancel;
    Refreshed();
    Cursor->Delete();
    EXPECT_EQ(Snapshot(Tree.PathOf("top")), before);
    EXPECT_FALSE(Refreshed());

    Dialogs.Answer = QAModalResult::Ok;
    NewLogLines();
    Cursor->Delete();
    ASSERT_EQ(Dialogs.Confirmations.size(), 2u);
    EXPECT_NE(Dialogs.Confirmations.back().find("2 items go to the trash:"), std::string::npos);
    EXPECT_FALSE(OnDisk("top/top.txt"));
    EXPECT_FALSE(OnDisk("top/sub"));
    EXPECT_EQ(Read("data/Trash/files/top.txt"), "top level");
    EXPECT_EQ(Read("data/Trash/files/sub/deep/low.txt"), "low");
    EXPECT_EQ(Child("top.txt"), nullptr);
    EXPECT_EQ(Child("sub/"), nullptr);
    const std::vector<std::string> log = NewLogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "Deleting file \"" + Tree.PathOf("top/top.txt") + "\""), log.end());

    ASSERT_TRUE(Cursor->CanUndo());
    Cursor->Undo();
    EXPECT_EQ(WithoutFolderTimes(Snapshot(Tree.PathOf("top"))), WithoutFolderTimes(before));
    EXPECT_NE(Child("top.txt"), nullptr);
    EXPECT_NE(Child("sub/"), nullptr);
    EXPECT_FALSE(Cursor->CanUndo());
}

TEST_F(FileCommandsTest, ShiftMakesADeletionPermanentAndARingRootClosesItsRing)
{
    Click(Child("top.txt"));
    Keys.Shift = true;
    Cursor->Delete();
    EXPECT_NE(Dialogs.Confirmations.back().find("1 item will be deleted permanently:"), std::string::npos);
    EXPECT_NE(Dialogs.Confirmations.back().find("This cannot be undone."), std::string::npos);
    EXPECT_FALSE(OnDisk("top/top.txt"));
    EXPECT_FALSE(OnDisk("data/Trash/files/top.txt"));
    EXPECT_FALSE(Cursor->CanUndo());

    Keys.Shift = false;
    QOXRing* inner = Open("top/sub/");
    Click(inner->Root);
    Cursor->Delete();
    EXPECT_NE(Dialogs.Confirmations.back().find("<b>" + Tree.PathOf("top/sub/") + "</b>"), std::string::npos);
    EXPECT_FALSE(TheApp->Rings->Contains(inner));
    EXPECT_EQ(Read("data/Trash/files/sub/in.txt"), "inside");
}

TEST_F(FileCommandsTest, ATrashThatCannotBeUsedKeepsTheEntryAndSaysSo)
{
    Put("data/Trash", "not a folder");
    Click(Child("top.txt"));
    Cursor->Delete();
    EXPECT_EQ(Read("top/top.txt"), "top level");
    EXPECT_NE(Child("top.txt"), nullptr);
    EXPECT_EQ(LastBox(), "Could not move everything to the trash:\n" + Tree.PathOf("top/top.txt") + ": The trash \"" +
                             Tree.PathOf("data/Trash") + "\" cannot be used: Not a directory");
}

TEST_F(FileCommandsTest, PasteMovesAfterCutCopiesAfterCopyAndIsUndone)
{
    Put("top/other/keep.txt", "keep");
    TheApp->RefreshAll();
    QRElement* other = Child("other/");
    const TreeSnapshot sub = Snapshot(Tree.PathOf("top/sub"));
    Click(Sub());
    Cursor->MarkSelected(QACopyMode::Copy);
    Click(other);
    Cursor->Paste();
    EXPECT_EQ(Snapshot(Tree.PathOf("top/other/sub")), sub);
    EXPECT_EQ(Snapshot(Tree.PathOf("top/sub")), sub);
    EXPECT_NE(ChildNamed(*static_cast<QREFolder*>(Child("other/")), "sub/"), nullptr);
    Cursor->Undo();
    EXPECT_FALSE(OnDisk("top/other/sub"));

    Click(Child("top.txt"));
    Cursor->MarkSelected(QACopyMode::Cut);
    Click(Child("other/"));
    Cursor->Paste();
    EXPECT_FALSE(OnDisk("top/top.txt"));
    EXPECT_EQ(Read("top/other/top.txt"), "top level");
    EXPECT_EQ(Child("top.txt"), nullptr);
    // Pasted again, the moved file is asked about and kept.
    Put("top/top.txt", "a newer one");
    TheApp->RefreshAll();
    Click(Child("top.txt"));
    Cursor->MarkSelected(QACopyMode::Cut);
    Click(Child("other/"));
    Cursor->Paste();
    ASSERT_EQ(Prompt.Questions.size(), 1u);
    EXPECT_EQ(Prompt.Questions[0].Existing, Tree.PathOf("top/other/top.txt"));
    EXPECT_EQ(Read("top/other/top.txt"), "top level");
    EXPECT_EQ(Read("top/top.txt"), "a newer one");
}

TEST_F(FileCommandsTest, PasteInsideWhatIsMarkedIsRefusedFromAnyRing)
{
    const TreeSnapshot before = Snapshot(Tree.Root());
    Click(Sub());
    Cursor->MarkSelected(QACopyMode::Cut);
    NewLogLines();
    Cursor->Paste(); // onto the marked folder itself
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Cannot paste inside the selected structure!"}));
    // The same folder's sub-folder shown in a ring of its own slips past that test, not past the
    // file operation.
    QOXRing* inner = Open("top/sub/");
    Click(ChildNamed(*inner->Root, "deep/"));
    Cursor->Paste();
    EXPECT_EQ(LastBox(), "Cannot move \"" + Tree.PathOf("top/sub") + "\" into itself or below itself!");
    // A paste onto a file, or with nothing marked, does nothing.
    Click(ChildNamed(*inner->Root, "in.txt"));
    Desktop.Boxes.clear();
    Cursor->Paste();
    Click(kEmpty);
    Cursor->MarkSelected(QACopyMode::Copy);
    Click(ChildNamed(*inner->Root, "deep/"));
    Cursor->Paste();
    EXPECT_TRUE(Desktop.Boxes.empty());
    EXPECT_EQ(Snapshot(Tree.Root()), before);
}

TEST_F(FileCommandsTest, RenameRefusesTakenAndForbiddenNamesAndIsUndone)
{
    Put("top/taken.txt", "taken");
    TheApp->RefreshAll();
    const TreeSnapshot before = Snapshot(Tree.PathOf("top"));
    struct Case {
        std::string Typed;
        std::string Message;
    };
    for (const Case& row : {Case{"taken.txt", "A file with the name \"taken.txt\" already exists in this folder!"},
                            Case{"sub", "A folder with the name \"sub\" already exists in this folder!"},
                            Case{"..", kDots}, Case{".", kDots}, Case{"a:b", kSymbols}}) {
        SCOPED_TRACE(row.Typed);
        Click(Child("top.txt"));
        Dialogs.Typed = row.Typed;
        Cursor->Rename();
        EXPECT_EQ(LastBox(), row.Message);
        EXPECT_EQ(Snapshot(Tree.PathOf("top")), before);
    }
    EXPECT_EQ(Dialogs.Offered.back(), "top.txt");
    Click(Sub());
    Dialogs.Typed = "renamed";
    Cursor->Rename();
    EXPECT_EQ(Dialogs.Offered.back(), "sub"); // a folder's name without its slash
    EXPECT_EQ(Read("top/renamed/in.txt"), "inside");
    EXPECT_NE(Child("renamed/"), nullptr);
    Cursor->Undo();
    EXPECT_EQ(Read("top/sub/in.txt"), "inside");
    EXPECT_FALSE(OnDisk("top/renamed"));
}

TEST_F(FileCommandsTest, NewFilesAndFoldersAreMadeOnlyUnderFreeNames)
{
    Tree.Link("top/dangling", Tree.PathOf("top/made-through-the-link"));
    TheApp->RefreshAll();
    struct Case {
        QAEntryKind Kind;
        std::string Typed;
        std::string Message; // empty: made
        bool Refresh;
    };
    const std::vector<Case> cases = {
        {QAEntryKind::File, "top.txt", "A file with the name \"top.txt\" already exists in this folder!", false},
        {QAEntryKind::File, "dangling", "A file with the name \"dangling\" already exists in this folder!", false},
        {QAEntryKind::File, "", kSymbols, true},
        {QAEntryKind::Folder, "sub", "A folder with the name \"sub\" already exists in this folder!", false},
        {QAEntryKind::Folder, "top.txt", "Could not create file!\n" + Tree.PathOf("top/top.txt") + ": File exists", true},
        {QAEntryKind::File, "fresh.txt", "", true},
        {QAEntryKind::Folder, "fresh", "", true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Typed);
        Click(Child("top.txt"));
        Dialogs.Typed = row.Typed;
        Desktop.Boxes.clear();
        Refreshed();
        if (row.Kind == QAEntryKind::Folder)
            Cursor->NewFolder();
        else
            Cursor->NewFile();
        EXPECT_EQ(LastBox(), row.Message);
        EXPECT_EQ(Refreshed(), row.Refresh);
    }
    EXPECT_EQ(Dialogs.Captions.front(), "Create new File");
    EXPECT_EQ(Dialogs.Captions.back(), "Create new Folder");
    EXPECT_EQ(Read("top/top.txt"), "top level");
    EXPECT_FALSE(OnDisk("top/made-through-the-link"));
    EXPECT_EQ(Read("top/fresh.txt"), "");
    EXPECT_NE(Child("fresh.txt"), nullptr);
    EXPECT_NE(Child("fresh/"), nullptr);
    const std::vector<std::string> log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "Creating Directory: \"" + Tree.PathOf("top/fresh") + "\""), log.end());
    Cursor->Undo(); // the new folder goes again
    EXPECT_FALSE(OnDisk("top/fresh"));
    EXPECT_TRUE(OnDisk("top/fresh.txt"));
}

// A ring opened from a size history holds no files of this disk: every file command on it, and
// "open" and a drop, is refused with a message, no dialog is asked and the disk stays as it was.
TEST_F(FileCommandsTest, ASizeHistoryRingRefusesEveryFileCommand)
{
    const std::string file = Tree.PathOf("server.orbivane-sizes");
    const platform::CountRecord record{Tree.PathOf("top/"), 1'796'083'200, platform::CountExtent::Complete,
                                       {{"", {3 << 20, 3 << 20, 4, 2}}, {"sub/", {9, 9, 2, 1}}, {"big.bin", {3 << 20, 3 << 20, 0, 0}}},
                                       10, {}};
    ASSERT_TRUE(platform::RecordCount(file, record).Recorded);
    Click(Child("top.txt"));
    Cursor->MarkSelected(QACopyMode::Copy); // marked on the disk's ring, to be pasted on the history's
    QOXRing* history = TheApp->OpenSizeHistoryFile(file);
    ASSERT_NE(history, nullptr);
    QRElement* sub = ChildNamed(*history->Root, "sub/");
    QRElement* big = ChildNamed(*history->Root, "big.bin");
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(big, nullptr);
    const TreeSnapshot before = Snapshot(Tree.Root());
    const std::string refusal = history->History->RefusalText();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"paste", [&] { Click(sub); Cursor->Paste(); }},
        {"open", [&] { Click(big); Cursor->OpenElement(); }},
        {"cut", [&] { Click(sub); Cursor->MarkSelected(QACopyMode::Cut); }},
        {"copy", [&] { Click(big); Cursor->MarkSelected(QACopyMode::Copy); }},
        {"delete", [&] { Click(sub); Cursor->Delete(); }},
        {"rename", [&] { Click(big); Cursor->Rename(); }},
        {"new file", [&] { Click(sub); Cursor->NewFile(); }},
        {"new folder", [&] { Click(sub); Cursor->NewFolder(); }},
        {"drop", [&] {
             const auto [x, y] = Picker.Place(sub);
             Cursor->DropTarget->Drop({"file://" + Tree.PathOf("top/top.txt")}, static_cast<float>(x), static_cast<float>(y));
         }},
    };
    Dialogs.Typed = "renamed";
    for (const auto& [name, command] : commands) {
        Desktop.Boxes.clear();
        command();
        EXPECT_EQ(LastBox(), refusal) << name;
        EXPECT_EQ(Snapshot(Tree.Root()), before) << name;
    }
    EXPECT_TRUE(Dialogs.Confirmations.empty() && Dialogs.Offered.empty() && Dialogs.Captions.empty());
    EXPECT_TRUE(Desktop.OpenedDocuments.empty());
    EXPECT_EQ(Cursor->FilesToCopy->Count(), 1) << "the marks of the disk's ring stay";
}

} // namespace

// Cut, Copy, Delete and Rename act on exactly what is drawn selected: a selected entry inside a
// folder closed since, or hidden since, is left alone.
TEST_F(FileCommandsTest, CommandsActOnWhatIsDrawnSelected)
{
    Put("top/.secret", "hidden");
    Ring->Refresh();
    struct Case {
        const char* Name;
        std::function<QRElement*()> SelectOutOfSight; // selects an entry, then takes it out of sight
    };
    const Case cases[] = {
        {"in a folder closed since",
         [&] {
             Sub()->Expand();
             Ring->Relayout();
             QRElement* inside = ChildNamed(*Sub(), "in.txt");
             inside->Selected = true;
             Sub()->Collapse();
             Ring->Relayout();
             return inside;
         }},
        {"hidden since",
         [&] {
             QRElement* secret = Child(".secret");
             secret->Selected = true;
             TheApp->SetToggle(QAToggle::DisplayHiddenFiles, false);
             return secret;
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        TheApp->SetToggle(QAToggle::DisplayHiddenFiles, true);
        Click(Child("top.txt"));
        QRElement* unseen = test.SelectOutOfSight();
        Cursor->MarkSelected(QACopyMode::Copy);
        EXPECT_EQ(Cursor->FilesToCopy->Count(), 1);
        EXPECT_TRUE(Cursor->FilesToCopy->Contains(Child("top.txt")));
        Dialogs.Confirmations.clear();
        Dialogs.Answer = QAModalResult::Cancel;
        Cursor->Delete();
        ASSERT_EQ(Dialogs.Confirmations.size(), 1u);
        EXPECT_NE(Dialogs.Confirmations[0].find("1 item"), std::string::npos) << Dialogs.Confirmations[0];
        Dialogs.Offered.clear();
        Cursor->SetCurrent(unseen);
        Cursor->Rename();
        EXPECT_TRUE(Dialogs.Offered.empty()) << "nothing drawn selected is current";
        TheApp->DeselectAllRings();
    }
}
