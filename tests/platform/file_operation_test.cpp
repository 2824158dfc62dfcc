#include "platform/file_operation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/file_transfer.h"
#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::FileFailure;
using platform::OperationEnd;
using platform::OverwriteAnswer;
using platform::RefusalKind;
using platform::TransferKind;
using Failures = std::vector<FileFailure>;

constexpr TransferKind kBoth[] = {TransferKind::Copy, TransferKind::Move};

TEST_F(FileOperationTest, CopiesAndMovesKeepEveryByteModeTimeAndLink)
{
    for (const TransferKind kind : kBoth) {
        for (const char* name : {"a.txt", "dir", "empty"}) {
            SCOPED_TRACE(name + std::string(kind == TransferKind::Copy ? " copied" : " moved"));
            Reset();
            MakeSources();
            const TreeSnapshot before = Snapshot(Src(name));
            const platform::OperationResult result = Operation.Transfer(kind, {Src(name)}, Dst());
            EXPECT_EQ(result.End, OperationEnd::Finished);
            EXPECT_EQ(result.Failures, Failures());
            EXPECT_EQ(Snapshot(Dst(name)), before);
            EXPECT_EQ(Snapshot(Src(name)), kind == TransferKind::Copy ? before : TreeSnapshot());
            EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        }
    }
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")).at("keep.txt").Content, "outside");
}

TEST_F(FileOperationTest, OverwriteAnswersDecideEveryEntryInTheWay)
{
    using A = OverwriteAnswer;
    struct Case {
        TransferKind Kind;
        std::vector<OverwriteAnswer> Answers;
        std::string Replaced; // per file: N new, O old
        std::size_t Questions;
    };
    for (const Case& row : {Case{TransferKind::Copy, {A::Yes, A::No, A::Yes}, "NON", 3},
                            Case{TransferKind::Copy, {A::YesToAll}, "NNN", 1},
                            Case{TransferKind::Copy, {A::NoToAll}, "OOO", 1},
                            Case{TransferKind::Copy, {A::Yes, A::Cancel}, "NOO", 2},
                            Case{TransferKind::Move, {A::No, A::Yes, A::No}, "ONO", 3},
                            Case{TransferKind::Move, {A::Cancel}, "OOO", 1}}) {
        SCOPED_TRACE(row.Replaced + (row.Kind == TransferKind::Copy ? " copied" : " moved"));
        std::vector<std::string> sources;
        for (const std::string name : {"f1", "f2", "f3"}) {
            sources.push_back(Put("src/" + name, "new " + name));
            Put("dst/" + name, "old " + name);
        }
        Prompt.Questions.clear();
        Prompt.Answers.assign(row.Answers.begin(), row.Answers.end());
        const platform::OperationResult result = Operation.Transfer(row.Kind, sources, Dst());
        const bool cancelled = row.Answers.back() == A::Cancel;
        EXPECT_EQ(result.End, cancelled ? OperationEnd::Cancelled : OperationEnd::Finished);
        EXPECT_EQ(Prompt.Questions.size(), row.Questions);
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string name = "f" + std::to_string(i + 1);
            const bool replaced = row.Replaced[i] == 'N';
            EXPECT_EQ(Snapshot(Dst(name)).at(".").Content, (replaced ? "new " : "old ") + name);
            EXPECT_EQ(Exists(Src(name)), row.Kind == TransferKind::Copy || !replaced) << name;
        }
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
    }
    EXPECT_EQ(Prompt.Questions[0].Existing, Dst("f1"));
    EXPECT_EQ(Prompt.Questions[0].Incoming, Src("f1"));
    EXPECT_EQ(Prompt.Questions[0].ExistingSize, 6);
}

TEST_F(FileOperationTest, FoldersMergeAndKindsThatDifferAreRefusedEntryByEntry)
{
    for (const TransferKind kind : kBoth) {
        SCOPED_TRACE(kind == TransferKind::Copy ? "copy" : "move");
        Reset();
        for (const char* path : {"src/m/x", "src/m/sub/y", "src/m/clash", "dst/m/z", "dst/m/sub/w", "dst/m/clash",
                                 "src/name/inner", "src/file", "dst/name", "dst/file/inner"})
            Put(path, path);
        const TreeSnapshot name = Snapshot(Src("name"));
        const TreeSnapshot file = Snapshot(Src("file"));
        const platform::OperationResult result =
            Operation.Transfer(kind, {Src("m"), Src("name"), Src("file")}, Dst());
        EXPECT_EQ(result.Failures, (Failures{{Dst("name"), platform::kFolderOntoFile},
                                             {Dst("file"), platform::kFileOntoFolder}}));
        EXPECT_EQ(Prompt.Questions.size(), 1u); // only the file in the way; answered No
        const TreeSnapshot merged = Snapshot(Dst("m"));
        for (const char* entry : {"x", "sub/y", "z", "sub/w"})
            EXPECT_EQ(merged.count(entry), 1u) << entry;
        EXPECT_EQ(merged.at("clash").Content, "dst/m/clash");
        // The file answered "No" stays in the source, and with it its folder.
        EXPECT_EQ(Snapshot(Src("m")).size(), kind == TransferKind::Copy ? 5u : 2u);
        EXPECT_EQ(Snapshot(Src("name")), name);
        EXPECT_EQ(Snapshot(Src("file")), file);
        Prompt.Questions.clear();
    }
    // With nothing left behind, the emptied folder goes.
    Put("src/n/x", "x");
    Put("dst/n/y", "y");
    EXPECT_EQ(Move({Src("n")}, Dst()).Failures, Failures());
    EXPECT_FALSE(Exists(Src("n")));
}

TEST_F(FileOperationTest, RefusedBatchesTouchNothing)
{
    MakeSources();
    Tree.Link("via-link", Src("dir"));
    Put("plain-file", "not a folder");
    struct Case {
        TransferKind Kind;
        std::vector<std::string> Sources;
        std::string Target;
        RefusalKind Expected;
    };
    const std::vector<Case> cases = {
        {TransferKind::Copy, {Src("a.txt"), Src("dir")}, Src("dir"), RefusalKind::SourceIsTarget},
        {TransferKind::Move, {Src("dir")}, Src("dir/sub"), RefusalKind::IntoItself},
        {TransferKind::Move, {Src("dir")}, Tree.PathOf("via-link/sub"), RefusalKind::IntoItself},
        {TransferKind::Copy, {Src("a.txt")}, Src(), RefusalKind::AlreadyInTarget},
        {TransferKind::Move, {Src("empty")}, Src(), RefusalKind::AlreadyInTarget},
        {TransferKind::Copy, {Src("a.txt")}, Tree.PathOf("missing"), RefusalKind::TargetNotFolder},
        {TransferKind::Move, {Src("a.txt")}, Tree.PathOf("plain-file"), RefusalKind::TargetNotFolder},
    };
    const TreeSnapshot before = Snapshot(Tree.Root());
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Target);
        const platform::OperationResult result = Operation.Transfer(row.Kind, row.Sources, row.Target);
        EXPECT_EQ(result.End, OperationEnd::Refused);
        EXPECT_EQ(result.Refused.Kind, row.Expected);
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
    EXPECT_EQ(Copy({Src("dir")}, Dst()).Failures, Failures());
    EXPECT_EQ(Snapshot(Dst("dir")), source);
    const platform::OperationResult removed =
        Operation.Delete(platform::DeleteKind::Permanent, {Src("dir"), Dst("dir")});
    EXPECT_EQ(removed.Failures, Failures());
    EXPECT_TRUE(removed.Journal.Empty());
    EXPECT_FALSE(Exists(Src("dir")));
    EXPECT_FALSE(Exists(Dst("dir")));
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")), outside);
    EXPECT_EQ(Snapshot(Src("a.txt")).at(".").Content, "alpha");
}

TEST_F(FileOperationTest, CancelKeepsFinishedEntriesAndLeavesNoHalfFile)
{
    Operation.ShowProgressAfter = std::chrono::milliseconds(0);
    // A copy cancelled in the middle of a big file's bytes; a move between two entries.
    for (const auto& [kind, cancelAt] : {std::pair{TransferKind::Copy, "big"}, std::pair{TransferKind::Move, "middle"}}) {
        SCOPED_TRACE(cancelAt);
        Reset();
        Put("src/first", "done before the cancel");
        Put("src/big", Bytes(24u << 20));
        Put("src/middle/inner", "in a folder");
        Put("src/last", "never reached");
        const TreeSnapshot before = WithoutFolderTimes(Snapshot(Src()));
        Progress = ScriptedProgress();
        Progress.OnEvents = [&, kind = kind, at = Src(cancelAt)](ScriptedProgress& progress) {
            const platform::ProgressReport& now = progress.Reports.back();
            progress.Cancel = now.From == at && (kind == TransferKind::Move || now.Done > 1000);
        };
        const platform::OperationResult result =
            Operation.Transfer(kind, {Src("first"), Src("big"), Src("middle"), Src("last")}, Dst());
        EXPECT_EQ(result.End, OperationEnd::Cancelled);
        EXPECT_EQ(Snapshot(Dst("first")).at(".").Content, "done before the cancel");
        EXPECT_FALSE(Exists(Dst(cancelAt)));
        EXPECT_FALSE(Exists(Dst("last")));
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        EXPECT_EQ(Progress.Hidden, 1);
        // The sources not finished stay where they were, whole.
        TreeSnapshot left = before;
        for (const char* moved : {"first", "big"}) {
            if (kind == TransferKind::Move)
                left.erase(moved);
        }
        EXPECT_EQ(WithoutFolderTimes(Snapshot(Src())), left);
    }
}

TEST_F(FileOperationTest, ASourceVanishingMidwayIsReportedAndTheRestGoesOn)
{
    for (const char* name : {"f1", "f2", "f3"})
        Put(std::string("src/") + name, name);
    Put("dst/f1", "in the way");
    // While the user looks at the question, another program removes the third source.
    Prompt.OnAsk = [&](const platform::OverwriteQuestion&) { std::filesystem::remove(Src("f3")); };
    Prompt.Answers = {OverwriteAnswer::Yes};
    const platform::OperationResult result = Copy({Src("f1"), Src("f2"), Src("f3")}, Dst());
    EXPECT_EQ(result.Failures, (Failures{{Src("f3"), std::strerror(ENOENT)}}));
    EXPECT_EQ(Snapshot(Dst("f1")).at(".").Content, "f1");
    EXPECT_EQ(Snapshot(Dst("f2")).at(".").Content, "f2");
    EXPECT_FALSE(Exists(Dst("f3")));
}

TEST_F(FileOperationTest, ProgressShowsOnlyForLongOperationsAndCountsUpToItsTotal)
{
    MakeSources();
    Operation.ShowProgressAfter = std::chrono::hours(1);
    EXPECT_EQ(Copy({Src("dir")}, Dst()).Failures, Failures());
    EXPECT_EQ(Progress.Shown, 0);
    EXPECT_GT(Progress.Events, 0); // the window stays responsive all the same

    Operation.ShowProgressAfter = std::chrono::milliseconds(0);
    Progress = ScriptedProgress();
    EXPECT_EQ(Copy({Src("a.txt"), Src("empty")}, Dst("dir")).Failures, Failures());
    EXPECT_EQ(Progress.Shown, 1);
    EXPECT_EQ(Progress.Hidden, 1);
    const std::int64_t total = 1 + 5 + 1; // two entries and five bytes
    for (std::size_t i = 1; i < Progress.Reports.size(); ++i) {
        EXPECT_TRUE(Progress.Reports[i].Total == 0 || Progress.Reports[i].Total == total); // 0 while counting
        EXPECT_GE(Progress.Reports[i].Done, Progress.Reports[i - 1].Done);
    }
    EXPECT_EQ(Progress.Reports.back().Done, total);
    EXPECT_TRUE(std::any_of(Progress.Reports.begin(), Progress.Reports.end(), [&](const platform::ProgressReport& r) {
        return r.From == Src("a.txt") && r.To == Dst("dir/a.txt");
    }));
}

TEST_F(FileOperationTest, NamesTakenAreNeverTakenOver)
{
    Put("src/a", "keep me");
    Tree.Link("src/dangling", Src("would-be-made"));
    Tree.MakeFolder("src/folder");
    const TreeSnapshot before = Snapshot(Src());
    platform::FileJournal journal;
    platform::FileFailure failure;
    for (const char* taken : {"a", "dangling", "folder"}) {
        SCOPED_TRACE(taken);
        EXPECT_FALSE(platform::CreateEmptyFile(Src(taken), journal, failure));
        EXPECT_EQ(failure, (FileFailure{Src(taken), std::strerror(EEXIST)}));
        EXPECT_FALSE(platform::CreateFolder(Src(taken), journal, failure));
        if (std::string(taken) != "a") {
            EXPECT_EQ(Operation.Rename(Src("a"), Src(taken)).Failures, (Failures{{Src(taken), std::strerror(EEXIST)}}));
        }
    }
    EXPECT_EQ(Snapshot(Src()), before);
    EXPECT_TRUE(journal.Empty());
    EXPECT_TRUE(platform::CreateEmptyFile(Src("new"), journal, failure));
    EXPECT_TRUE(platform::CreateFolder(Src("new-folder"), journal, failure));
    EXPECT_EQ(Operation.Rename(Src("new-folder"), Src("renamed")).Journal.Steps[0].From, Src("new-folder"));
    EXPECT_EQ(Snapshot(Src("new")).at(".").Content, "");
    EXPECT_EQ(journal.Steps.size(), 2u);
}

} // namespace

namespace {

TEST_F(FileOperationTest, OddNamesAreCopiedMovedAndUndoneByteForByte)
{
    std::string cjk;
    for (int i = 0; i < 82; ++i)
        cjk += "\xe6\xbc\xa2";
    const std::vector<std::string> names = {"line\nbreak", "caf\xe9.txt", std::string(255, 'n'), "-leading-dash", cjk,
                                            std::string(254, 'f') + "\xe9"};
    std::vector<std::pair<TransferKind, std::string>> kinds = {{TransferKind::Copy, "copied"},
                                                               {TransferKind::Move, "moved"}};
    std::string reason;
    const bool crossing = Target.Mount(Dst(), 16u << 20, reason);
    if (crossing)
        kinds.push_back({TransferKind::Move, "moved to another file system"});
    for (const auto& [kind, what] : kinds) {
        for (const std::string& name : names) {
            SCOPED_TRACE(what + " " + std::to_string(name.size()) + " bytes: " + name.substr(0, 12));
            Reset();
            Put("src/" + name, "the bytes of " + name);
            Put("src/folder/" + name, "inside");
            const TreeSnapshot file = Snapshot(Src(name));
            const TreeSnapshot folder = Snapshot(Src("folder"));
            const platform::OperationResult result = Operation.Transfer(kind, {Src(name), Src("folder")}, Dst());
            EXPECT_EQ(result.Failures, Failures());
            EXPECT_EQ(Snapshot(Dst(name)), file);
            EXPECT_EQ(Snapshot(Dst("folder")), folder);
            EXPECT_TRUE(TemporaryEntries(Dst()).empty());
            EXPECT_EQ(Operation.Undo(result.Journal).Failures, Failures());
            EXPECT_EQ(Snapshot(Src(name)), file);
            EXPECT_EQ(WithoutFolderTimes(Snapshot(Src("folder"))), WithoutFolderTimes(folder));
            EXPECT_FALSE(Exists(Dst(name)));
        }
    }
    if (!crossing)
        GTEST_SKIP() << "copies and moves on one file system were tried; another file system cannot be mounted here ("
                     << reason << ")";
}

} // namespace
