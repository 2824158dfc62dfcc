// The trash and undoing: what an operation did is reversed only while the disk still holds what it
// left, and a trash that cannot be used is a failure, never a permanent deletion.
#include <gtest/gtest.h>

#include <functional>

#include "platform/file_journal.h"
#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::OperationEnd;
using platform::RefusalKind;

TEST_F(FileOperationTest, TrashedEntriesComeBackWholeThroughUndo)
{
    MakeSources();
    const TreeSnapshot before = Snapshot(Src());
    const platform::OperationResult trashed =
        Operation.Delete(platform::DeleteKind::Trash, {Src("a.txt"), Src("dir"), Src("dir/to-outside")});
    EXPECT_TRUE(trashed.Failures.empty());
    EXPECT_FALSE(Exists(Src("a.txt")));
    EXPECT_FALSE(Exists(Src("dir")));
    ASSERT_EQ(trashed.Journal.Steps.size(), 2u); // the link went with its folder
    for (const platform::JournalStep& step : trashed.Journal.Steps) {
        EXPECT_EQ(step.Path.rfind(Tree.PathOf("data/Trash/files/"), 0), 0u) << step.Path;
        EXPECT_TRUE(Exists(platform::TrashInfoOf(step.Path)));
    }
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")).at("keep.txt").Content, "outside");

    const platform::OperationResult restored = Operation.Undo(trashed.Journal);
    EXPECT_EQ(restored.End, OperationEnd::Finished);
    EXPECT_TRUE(restored.Failures.empty());
    EXPECT_EQ(WithoutFolderTimes(Snapshot(Src())), WithoutFolderTimes(before));
    EXPECT_EQ(Snapshot(Tree.PathOf("data/Trash/info")).size(), 1u); // the records went with the entries
}

TEST_F(FileOperationTest, ATrashThatCannotBeUsedIsReportedAndDeletesNothing)
{
    Put("src/keep", "must survive");
    Tree.Link("src/dangling", "nowhere");
    Put("data/Trash", "a file where the trash folder belongs");
    const TreeSnapshot before = Snapshot(Src());
    const platform::OperationResult result =
        Operation.Delete(platform::DeleteKind::Trash, {Src("keep"), Src("dangling")});
    const std::string unusable = "The trash \"" + Tree.PathOf("data/Trash") + "\" cannot be used: Not a directory";
    EXPECT_EQ(result.Failures, (std::vector<platform::FileFailure>{{Src("keep"), unusable}, {Src("dangling"), unusable}}));
    EXPECT_EQ(Snapshot(Src()), before);
    EXPECT_TRUE(result.Journal.Empty());
    const platform::FileOperation withoutTrash(&Prompt, &Progress, nullptr);
    EXPECT_EQ(withoutTrash.Delete(platform::DeleteKind::Trash, {Src("keep")}).Failures.size(), 1u);
    EXPECT_EQ(Snapshot(Src()), before);
}

TEST_F(FileOperationTest, UndoReversesOnlyWhatTheDiskStillHoldsAsLeft)
{
    struct Case {
        std::string Name;
        std::function<void()> Prepare;
        std::function<platform::FileJournal()> Operate;
        std::function<void()> Disturb; // what happened on the disk since
        RefusalKind Expected;
    };
    const auto copy = [&] { return Copy({Src("dir"), Src("a.txt")}, Dst()).Journal; };
    const auto move = [&] { return Move({Src("dir"), Src("a.txt")}, Dst()).Journal; };
    const auto rename = [&] { return Operation.Rename(Src("a.txt"), Src("b.txt")).Journal; };
    const auto none = [] {};
    const std::vector<Case> cases = {
        {"a copy", none, copy, none, RefusalKind::None},
        {"a copy changed since", none, copy, [&] { Put("dst/dir/b.bin", "changed"); }, RefusalKind::Changed},
        {"a copy with a file added", none, copy, [&] { Put("dst/dir/sub/new", "new"); }, RefusalKind::Changed},
        {"a move", none, move, none, RefusalKind::None},
        {"a move whose old name is taken", none, move, [&] { Put("src/a.txt", "another"); }, RefusalKind::NameTaken},
        {"a move whose entry is gone", none, move, [&] { std::filesystem::remove(Dst("a.txt")); },
         RefusalKind::Missing},
        {"a rename", none, rename, none, RefusalKind::None},
        {"a merge", [&] { Tree.MakeFolder("dst/dir"); }, move, none, RefusalKind::None},
        {"an overwrite",
         [&] {
             Put("dst/a.txt", "old");
             Prompt.Answers = {platform::OverwriteAnswer::Yes};
         },
         copy, none, RefusalKind::ReplacedEntries},
        {"nothing", none, [] { return platform::FileJournal(); }, none, RefusalKind::NothingToUndo},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        std::filesystem::remove_all(Src());
        std::filesystem::remove_all(Dst());
        Tree.MakeFolder("dst");
        MakeSources();
        row.Prepare();
        const TreeSnapshot original = Snapshot(Tree.Root());
        const platform::FileJournal journal = row.Operate();
        row.Disturb();
        const TreeSnapshot disturbed = Snapshot(Tree.Root());
        const platform::OperationResult undone = Operation.Undo(journal);
        EXPECT_EQ(undone.Refused.Kind, row.Expected);
        EXPECT_TRUE(undone.Failures.empty()) << undone.Failures.front();
        if (row.Expected != RefusalKind::None)
            EXPECT_EQ(Snapshot(Tree.Root()), disturbed);
        else
            EXPECT_EQ(WithoutFolderTimes(Snapshot(Tree.Root())), WithoutFolderTimes(original));
    }
}

} // namespace
