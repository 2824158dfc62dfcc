#include "platform/file_operation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/file_transfer.h"
#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::OperationEnd;
using platform::OverwriteAnswer;
using platform::RefusalKind;
using platform::TransferKind;

TEST_F(FileOperationTest, CopiesAndMovesKeepEveryByteModeTimeAndLink)
{
    struct Case {
        TransferKind Kind;
        std::string Name;
    };
    for (const Case& row : {Case{TransferKind::Copy, "a.txt"}, Case{TransferKind::Copy, "dir"},
                            Case{TransferKind::Copy, "empty"}, Case{TransferKind::Move, "a.txt"},
                            Case{TransferKind::Move, "dir"}, Case{TransferKind::Move, "empty"}}) {
        SCOPED_TRACE(row.Name + (row.Kind == TransferKind::Copy ? " copied" : " moved"));
        std::filesystem::remove_all(Src());
        std::filesystem::remove_all(Dst());
        Tree.MakeFolder("dst");
        MakeSources();
        const TreeSnapshot before = Snapshot(Src(row.Name));
        const platform::OperationResult result = Operation.Transfer(row.Kind, {Src(row.Name)}, Dst());
        EXPECT_EQ(result.End, OperationEnd::Finished);
        EXPECT_TRUE(result.Failures.empty()) << result.Failures.front();
        EXPECT_EQ(Snapshot(Dst(row.Name)), before);
        EXPECT_EQ(Snapshot(Src(row.Name)), row.Kind == TransferKind::Copy ? before : TreeSnapshot());
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        EXPECT_FALSE(result.Journal.Empty());
    }
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")).at("keep.txt").Content, "outside");
}

TEST_F(FileOperationTest, OverwriteAnswersDecideEveryEntryInTheWay)
{
    struct Case {
        TransferKind Kind;
        std::vector<OverwriteAnswer> Answers;
        std::string Expected; // per file: N new, O old
        std::size_t Questions;
        OperationEnd End;
    };
    const std::vector<Case> cases = {
        {TransferKind::Copy, {OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::Yes}, "NON", 3,
         OperationEnd::Finished},
        {TransferKind::Copy, {OverwriteAnswer::YesToAll}, "NNN", 1, OperationEnd::Finished},
        {TransferKind::Copy, {OverwriteAnswer::NoToAll}, "OOO", 1, OperationEnd::Finished},
        {TransferKind::Copy, {OverwriteAnswer::Yes, OverwriteAnswer::Cancel}, "NOO", 2, OperationEnd::Cancelled},
        {TransferKind::Move, {OverwriteAnswer::No, OverwriteAnswer::Yes, OverwriteAnswer::No}, "ONO", 3,
         OperationEnd::Finished},
        {TransferKind::Move, {OverwriteAnswer::YesToAll}, "NNN", 1, OperationEnd::Finished},
        {TransferKind::Move, {OverwriteAnswer::Cancel}, "OOO", 1, OperationEnd::Cancelled},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Expected + (row.Kind == TransferKind::Copy ? " copied" : " moved"));
        std::vector<std::string> sources;
        for (const char* name : {"f1", "f2", "f3"}) {
            sources.push_back(Put(std::string("src/") + name, std::string("new ") + name));
            Put(std::string("dst/") + name, std::string("old contents of ") + name);
        }
        Prompt.Questions.clear();
        Prompt.Answers.assign(row.Answers.begin(), row.Answers.end());
        const platform::OperationResult result = Operation.Transfer(row.Kind, sources, Dst());
        EXPECT_EQ(result.End, row.End);
        EXPECT_EQ(Prompt.Questions.size(), row.Questions);
        for (int i = 0; i < 3; ++i) {
            const std::string name = "f" + std::to_string(i + 1);
            const bool replaced = row.Expected[static_cast<std::size_t>(i)] == 'N';
            EXPECT_EQ(Snapshot(Dst(name)).at(".").Content, (replaced ? "new " : "old contents of ") + name);
            // A moved source is gone only where it replaced the old file.
            EXPECT_EQ(Exists(Src(name)), row.Kind == TransferKind::Copy || !replaced) << name;
        }
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        EXPECT_EQ(result.Journal.ReplacedEntries, row.Expected.find('N') != std::string::npos);
    }
    const platform::OverwriteQuestion& asked = Prompt.Questions.front();
    EXPECT_EQ(asked.Existing, Dst("f1"));
    EXPECT_EQ(asked.Incoming, Src("f1"));
    EXPECT_EQ(asked.ExistingSize, std::strlen("old contents of f1"));
    EXPECT_EQ(asked.IncomingSize, std::strlen("new f1"));
}

TEST_F(FileOperationTest, AFolderOntoAFolderMergesAndAMoveEmptiesItsSource)
{
    for (const TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
        SCOPED_TRACE(kind == TransferKind::Copy ? "copy" : "move");
        Put("src/m/x", "x");
        Put("src/m/sub/y", "y");
        Put("src/m/clash", "incoming");
        Put("dst/m/z", "z");
        Put("dst/m/sub/w", "w");
        Put("dst/m/clash", "kept");
        Prompt.Answers = {OverwriteAnswer::No};
        const platform::OperationResult result = Operation.Transfer(kind, {Src("m")}, Dst());
        EXPECT_TRUE(result.Failures.empty());
        const TreeSnapshot merged = Snapshot(Dst("m"));
        for (const char* name : {"x", "sub/y", "z", "sub/w"})
            EXPECT_EQ(merged.count(name), 1u) << name;
        EXPECT_EQ(merged.at("clash").Content, "kept");
        // The file answered "No" stays in the source, and with it its folder.
        const TreeSnapshot left = Snapshot(Src("m"));
        EXPECT_EQ(left.count("clash"), 1u);
        EXPECT_EQ(left.count("x"), kind == TransferKind::Copy ? 1u : 0u);
        std::filesystem::remove_all(Src());
        std::filesystem::remove_all(Dst("m"));
    }
    // Without anything in the way the emptied folder goes.
    Put("src/n/x", "x");
    Put("dst/n/y", "y");
    EXPECT_TRUE(Move({Src("n")}, Dst()).Failures.empty());
    EXPECT_FALSE(Exists(Src("n")));
    EXPECT_EQ(Snapshot(Dst("n")).size(), 3u);
}

TEST_F(FileOperationTest, AFileOntoAFolderAndAFolderOntoAFileAreRefusedEntryByEntry)
{
    for (const TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
        SCOPED_TRACE(kind == TransferKind::Copy ? "copy" : "move");
        Put("src/name/inner", "a folder in the source");
        Put("src/file", "a file in the source");
        Put("src/fine", "goes through");
        Put("dst/name", "a file in the target");
        Put("dst/file/inner", "a folder in the target");
        const TreeSnapshot folder = Snapshot(Src("name"));
        const TreeSnapshot file = Snapshot(Src("file"));
        const TreeSnapshot target = Snapshot(Dst());
        const platform::OperationResult result =
            Operation.Transfer(kind, {Src("name"), Src("file"), Src("fine")}, Dst());
        EXPECT_EQ(result.Failures, (std::vector<platform::FileFailure>{{Dst("name"), platform::kFolderOntoFile},
                                                                       {Dst("file"), platform::kFileOntoFolder}}));
        EXPECT_TRUE(Prompt.Questions.empty());
        EXPECT_EQ(Snapshot(Src("name")), folder);
        EXPECT_EQ(Snapshot(Src("file")), file);
        EXPECT_EQ(Snapshot(Dst("name")).at("."), target.at("name"));
        EXPECT_EQ(Snapshot(Dst("file")).at("inner"), target.at("file/inner"));
        EXPECT_EQ(Snapshot(Dst("fine")).at(".").Content, "goes through");
        EXPECT_EQ(Exists(Src("fine")), kind == TransferKind::Copy);
        std::filesystem::remove_all(Src());
        std::filesystem::remove_all(Dst());
        Tree.MakeFolder("dst");
    }
}

TEST_F(FileOperationTest, RefusedBatchesTouchNothing)
{
    MakeSources();
    Tree.Link("via-link", Src("dir"));
    Put("plain-file", "not a folder");
    struct Case {
        std::string Name;
        TransferKind Kind;
        std::vector<std::string> Sources;
        std::string Target;
        RefusalKind Expected;
    };
    const std::vector<Case> cases = {
        {"a folder into itself", TransferKind::Copy, {Src("a.txt"), Src("dir")}, Src("dir"), RefusalKind::SourceIsTarget},
        {"a folder into its sub-folder", TransferKind::Move, {Src("dir")}, Src("dir/sub"), RefusalKind::IntoItself},
        {"below itself through a link", TransferKind::Move, {Src("dir")}, Tree.PathOf("via-link/sub"),
         RefusalKind::IntoItself},
        {"a file into its own folder", TransferKind::Copy, {Src("a.txt")}, Src(), RefusalKind::AlreadyInTarget},
        {"a folder into its own folder", TransferKind::Move, {Src("empty")}, Src(), RefusalKind::AlreadyInTarget},
        {"a missing target", TransferKind::Copy, {Src("a.txt")}, Tree.PathOf("missing"), RefusalKind::TargetNotFolder},
        {"a file as target", TransferKind::Move, {Src("a.txt")}, Tree.PathOf("plain-file"),
         RefusalKind::TargetNotFolder},
    };
    const TreeSnapshot before = Snapshot(Tree.Root());
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        const platform::OperationResult result = Operation.Transfer(row.Kind, row.Sources, row.Target);
        EXPECT_EQ(result.End, OperationEnd::Refused);
        EXPECT_EQ(result.Refused.Kind, row.Expected);
        EXPECT_TRUE(result.Journal.Empty());
        EXPECT_EQ(Snapshot(Tree.Root()), before);
    }
    const platform::OperationResult root = Operation.Delete(platform::DeleteKind::Permanent, {Src("a.txt"), "/"});
    EXPECT_EQ(root.Refused.Kind, RefusalKind::FileSystemRoot);
    EXPECT_EQ(Snapshot(Tree.Root()), before);
}

TEST_F(FileOperationTest, LinksAreCopiedAndDeletedAsLinksNeverFollowed)
{
    MakeSources();
    Tree.Link("src/dir/loop", "../dir");
    Tree.Link("src/dir/self", "self");
    const TreeSnapshot outside = Snapshot(Tree.PathOf("outside"));
    const TreeSnapshot source = Snapshot(Src("dir"));
    EXPECT_TRUE(Copy({Src("dir")}, Dst()).Failures.empty());
    EXPECT_EQ(Snapshot(Dst("dir")), source);
    EXPECT_EQ(Snapshot(Dst("dir")).at("loop").Kind, 'l');
    const platform::OperationResult removed =
        Operation.Delete(platform::DeleteKind::Permanent, {Src("dir"), Dst("dir")});
    EXPECT_TRUE(removed.Failures.empty());
    EXPECT_TRUE(removed.Journal.Empty());
    EXPECT_FALSE(Exists(Src("dir")));
    EXPECT_FALSE(Exists(Dst("dir")));
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")), outside);
    EXPECT_EQ(Snapshot(Src("a.txt")).at(".").Content, "alpha");
}

TEST_F(FileOperationTest, CancelKeepsFinishedEntriesAndLeavesNoHalfFile)
{
    struct Case {
        TransferKind Kind;
        const char* CancelAt; // the source being worked on when the user cancels
    };
    for (const Case& row : {Case{TransferKind::Copy, "big"}, Case{TransferKind::Move, "middle"}}) {
        SCOPED_TRACE(row.CancelAt);
        Put("src/first", "done before the cancel");
        Put("src/big", Bytes(24u << 20));
        Put("src/middle/inner", "in a folder");
        Put("src/last", "never reached");
        const TreeSnapshot before = Snapshot(Src());
        Operation.ShowProgressAfter = std::chrono::milliseconds(0);
        Progress = ScriptedProgress();
        Progress.OnEvents = [&](ScriptedProgress& progress) {
            progress.Cancel = !progress.Reports.empty() && progress.Reports.back().From == Src(row.CancelAt) &&
                              (row.Kind == TransferKind::Move || progress.Reports.back().Done > 1000);
        };
        const platform::OperationResult result = Operation.Transfer(
            row.Kind, {Src("first"), Src("big"), Src("middle"), Src("last")}, Dst());
        EXPECT_EQ(result.End, OperationEnd::Cancelled);
        EXPECT_EQ(Snapshot(Dst("first")).at(".").Content, "done before the cancel");
        EXPECT_FALSE(Exists(Dst(row.CancelAt)));
        EXPECT_FALSE(Exists(Dst("last")));
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        EXPECT_EQ(Progress.Shown, 1);
        EXPECT_EQ(Progress.Hidden, 1);
        // The sources not finished stay where they were, whole.
        TreeSnapshot left = before;
        if (row.Kind == TransferKind::Move) {
            for (const char* gone : {".", "first", "big"})
                left.erase(gone);
        }
        TreeSnapshot now = Snapshot(Src());
        now.erase(".");
        left.erase(".");
        EXPECT_EQ(now, left);
        std::filesystem::remove_all(Src());
        std::filesystem::remove_all(Dst());
        Tree.MakeFolder("dst");
    }
}

TEST_F(FileOperationTest, ASourceVanishingMidwayIsReportedAndTheRestGoesOn)
{
    Put("src/f1", "one");
    Put("src/f2", "two");
    Put("src/f3", "three");
    Put("dst/f1", "in the way");
    // While the user looks at the question, another program removes the third source.
    Prompt.OnAsk = [&](const platform::OverwriteQuestion&) { std::filesystem::remove(Src("f3")); };
    Prompt.Answers = {OverwriteAnswer::Yes};
    const platform::OperationResult result = Copy({Src("f1"), Src("f2"), Src("f3")}, Dst());
    EXPECT_EQ(result.End, OperationEnd::Finished);
    EXPECT_EQ(result.Failures, (std::vector<platform::FileFailure>{{Src("f3"), std::strerror(ENOENT)}}));
    EXPECT_EQ(Snapshot(Dst("f1")).at(".").Content, "one");
    EXPECT_EQ(Snapshot(Dst("f2")).at(".").Content, "two");
    EXPECT_FALSE(Exists(Dst("f3")));
    // A source already gone before the start is reported the same way.
    EXPECT_EQ(Move({Src("gone"), Src("f2")}, Tree.PathOf("dst")).Failures.front().Path, Src("gone"));
}

TEST_F(FileOperationTest, ProgressShowsOnlyForLongOperationsAndCountsUpToItsTotal)
{
    MakeSources();
    Operation.ShowProgressAfter = std::chrono::hours(1);
    EXPECT_TRUE(Copy({Src("dir")}, Dst()).Failures.empty());
    EXPECT_EQ(Progress.Shown, 0);
    EXPECT_EQ(Progress.Hidden, 0);
    EXPECT_GT(Progress.Events, 0); // the window stays responsive all the same

    Operation.ShowProgressAfter = std::chrono::milliseconds(0);
    Progress = ScriptedProgress();
    EXPECT_TRUE(Copy({Src("a.txt"), Src("empty")}, Tree.PathOf("dst/dir")).Failures.empty());
    EXPECT_EQ(Progress.Shown, 1);
    EXPECT_EQ(Progress.Hidden, 1);
    ASSERT_FALSE(Progress.Reports.empty());
    const std::int64_t total = 1 + 5 + 1; // two entries and five bytes
    for (std::size_t i = 0; i < Progress.Reports.size(); ++i) {
        EXPECT_TRUE(Progress.Reports[i].Total == 0 || Progress.Reports[i].Total == total); // 0 while counting
        if (i > 0)
            EXPECT_GE(Progress.Reports[i].Done, Progress.Reports[i - 1].Done);
    }
    EXPECT_EQ(Progress.Reports.back().Done, total);
    EXPECT_TRUE(std::any_of(Progress.Reports.begin(), Progress.Reports.end(), [&](const platform::ProgressReport& report) {
        return report.From == Src("a.txt") && report.To == Dst("dir/a.txt");
    }));
}

TEST_F(FileOperationTest, RenameNeverReplacesAnotherEntry)
{
    Put("src/a", "a");
    Put("src/b", "b");
    Put("src/folder/inner", "inner");
    const TreeSnapshot before = Snapshot(Src());
    for (const char* taken : {"b", "folder"}) {
        const platform::OperationResult result = Operation.Rename(Src("a"), Src(taken));
        EXPECT_EQ(result.Failures, (std::vector<platform::FileFailure>{{Src(taken), std::strerror(EEXIST)}}));
        EXPECT_EQ(Snapshot(Src()), before);
    }
    const platform::OperationResult renamed = Operation.Rename(Src("folder"), Src("renamed"));
    EXPECT_TRUE(renamed.Failures.empty());
    EXPECT_EQ(Snapshot(Src("renamed")).at("inner").Content, "inner");
    ASSERT_EQ(renamed.Journal.Steps.size(), 1u);
    EXPECT_EQ(renamed.Journal.Steps[0].From, Src("folder"));
}

TEST_F(FileOperationTest, NewEntriesAreMadeOnlyUnderFreeNames)
{
    Put("src/existing", "keep me");
    Tree.Link("src/dangling", Tree.PathOf("src/would-be-made"));
    Tree.MakeFolder("src/folder");
    platform::FileJournal journal;
    platform::FileFailure failure;
    for (const char* taken : {"existing", "dangling", "folder"}) {
        SCOPED_TRACE(taken);
        EXPECT_FALSE(platform::CreateEmptyFile(Src(taken), journal, failure));
        EXPECT_EQ(failure.Reason, std::strerror(EEXIST));
        EXPECT_FALSE(platform::CreateFolder(Src(taken), journal, failure));
        EXPECT_EQ(failure.Path, Src(taken));
    }
    EXPECT_EQ(Snapshot(Src("existing")).at(".").Content, "keep me");
    EXPECT_FALSE(Exists(Src("would-be-made")));
    EXPECT_TRUE(journal.Empty());
    EXPECT_TRUE(platform::CreateEmptyFile(Src("new"), journal, failure));
    EXPECT_TRUE(platform::CreateFolder(Src("new-folder"), journal, failure));
    EXPECT_EQ(Snapshot(Src("new")).at(".").Kind, 'f');
    EXPECT_EQ(Snapshot(Src("new")).at(".").Content, "");
    EXPECT_EQ(Snapshot(Src("new-folder")).size(), 1u);
    EXPECT_EQ(journal.Steps.size(), 2u);
}

} // namespace
