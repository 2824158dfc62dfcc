// File operations against a full disk, another file system and denied permissions: the sources
// stay whole, nothing half-written is left under a real name, and every failure names its path.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::FileFailure;
using platform::OperationEnd;
using platform::TransferKind;

class FileOperationFaults : public FileOperationTest {
protected:
    void NeedPermissions()
    {
        if (!FileTree::PermissionsApply())
            GTEST_SKIP() << "this process cannot give up its override of file permissions";
    }
};

TEST_F(FileOperationFaults, AMoveAcrossFileSystemsCopiesThenDeletesAndUndoesTheSameWay)
{
    MountTarget(64u << 20);
    if (IsSkipped())
        return;
    MakeSources();
    for (const char* name : {"a.txt", "dir"}) {
        SCOPED_TRACE(name);
        const TreeSnapshot before = Snapshot(Src(name));
        const platform::OperationResult moved = Move({Src(name)}, Dst());
        EXPECT_TRUE(moved.Failures.empty());
        EXPECT_EQ(Snapshot(Dst(name)), before);
        EXPECT_FALSE(Exists(Src(name)));
        ASSERT_EQ(moved.Journal.Steps.size(), 1u);
        EXPECT_EQ(moved.Journal.Steps[0].Kind, platform::StepKind::Moved);
        EXPECT_TRUE(Operation.Undo(moved.Journal).Failures.empty());
        EXPECT_EQ(Snapshot(Src(name)), before);
        EXPECT_FALSE(Exists(Dst(name)));
    }
    EXPECT_EQ(Snapshot(Tree.PathOf("outside")).at("keep.txt").Content, "outside");
}

TEST_F(FileOperationFaults, AFullDiskLeavesTheSourcesWholeAndNoPartialFile)
{
    MountTarget(1u << 20);
    if (IsSkipped())
        return;
    for (const TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
        SCOPED_TRACE(kind == TransferKind::Copy ? "copy" : "move");
        Put("src/small", Bytes(1000));
        Put("src/big", Bytes(3u << 20));
        Put("src/tree/x", Bytes(2000));
        Put("src/tree/huge", Bytes(2u << 20));
        Put("src/after", Bytes(1000));
        const TreeSnapshot big = Snapshot(Src("big"));
        const TreeSnapshot tree = Snapshot(Src("tree"));
        const platform::OperationResult result =
            Operation.Transfer(kind, {Src("small"), Src("big"), Src("tree"), Src("after")}, Dst());
        EXPECT_EQ(result.End, OperationEnd::Finished);
        const std::string full = std::strerror(ENOSPC);
        EXPECT_EQ(result.Failures, (std::vector<FileFailure>{{Dst("big"), full}, {Dst("tree/huge"), full}}));
        EXPECT_EQ(Snapshot(Src("big")), big);
        EXPECT_EQ(Snapshot(Src("tree")), tree);
        EXPECT_FALSE(Exists(Dst("big")));
        EXPECT_FALSE(Exists(Dst("tree/huge")));
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        // What fitted is there whole.
        for (const char* name : {"small", "tree/x", "after"})
            EXPECT_EQ(Snapshot(Dst(name)).at(".").Content.size(), name[0] == 't' ? 2000u : 1000u) << name;
        EXPECT_EQ(Exists(Src("small")), kind == TransferKind::Copy);
        std::filesystem::remove_all(Src());
        for (const auto& entry : std::filesystem::directory_iterator(Dst()))
            std::filesystem::remove_all(entry.path());
    }
}

TEST_F(FileOperationFaults, DeniedPermissionsAreReportedWithTheirPath)
{
    NeedPermissions();
    if (IsSkipped())
        return;
    Put("src/a", "a");
    Put("src/secret", "secret", 0000);
    Put("src/tree/free", "goes");
    Put("src/tree/locked/inner", "stays");
    Age("src/tree/locked", 0555);
    const std::string denied = std::strerror(EACCES);
    const TreeSnapshot before = Snapshot(Src());

    // The target folder may not be written.
    Age("dst", 0555);
    EXPECT_EQ(Copy({Src("a")}, Dst()).Failures, (std::vector<FileFailure>{{Dst("a"), denied}}));
    EXPECT_EQ(Snapshot(Dst()).size(), 1u);
    Age("dst", 0755);

    // One source may not be read; the others go through.
    EXPECT_EQ(Copy({Src("a"), Src("secret")}, Dst()).Failures, (std::vector<FileFailure>{{Src("secret"), denied}}));
    EXPECT_EQ(Snapshot(Dst("a")).at(".").Content, "a");
    EXPECT_FALSE(Exists(Dst("secret")));
    EXPECT_TRUE(TemporaryEntries(Dst()).empty());

    // A source may not leave its folder.
    Age("src", 0555);
    EXPECT_EQ(Move({Src("tree")}, Tree.PathOf("")).Failures, (std::vector<FileFailure>{{Src("tree"), denied}}));
    Age("src", 0755);
    EXPECT_EQ(WithoutFolderTimes(Snapshot(Src())), WithoutFolderTimes(before));

    // A permanent deletion takes what it may and reports the rest.
    const platform::OperationResult removed = Operation.Delete(platform::DeleteKind::Permanent, {Src("tree")});
    EXPECT_EQ(removed.Failures, (std::vector<FileFailure>{{Src("tree/locked/inner"), denied}}));
    EXPECT_FALSE(Exists(Src("tree/free")));
    EXPECT_EQ(Snapshot(Src("tree/locked/inner")).at(".").Content, "stays");
}

} // namespace
