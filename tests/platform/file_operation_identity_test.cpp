// Folders seen twice: through a bind mount, as a second name of a file, or through a link. Copies
// and moves compare identities, never paths, so none of them copies a folder into itself or moves
// an entry onto itself; every byte stays where it was.
#include <gtest/gtest.h>

#include "platform/file_transfer.h"
#include "tests/platform/file_operation_fixture.h"
#include "tests/support/private_mounts.h"

namespace {

using platform::OverwriteAnswer;
using platform::RefusalKind;
using platform::TransferKind;
using Failures = std::vector<platform::FileFailure>;

TEST_F(FileOperationTest, FoldersSeenTwiceAreNeverCopiedIntoOrMovedOntoThemselves)
{
    std::string reason;
    if (!PrivateMounts::Enter(reason))
        GTEST_SKIP() << "bind mounts are needed: " << reason;
    Put("src/S/a.txt", "alpha");
    Put("src/S/sub/b.bin", Bytes(100'000));
    Put("src/S/sub/deeper/c.txt", "gamma");
    Put("dst/S/old.txt", "already in the target");
    for (const char* folder : {"inside", "same-as-src", "holder/S", "dst/S/sub"})
        Tree.MakeFolder(folder);
    Tree.HardLink("dst/a.txt", "src/S/a.txt"); // a second name, in the target, of a source file
    PrivateMounts mounts;
    ASSERT_TRUE(mounts.Bind(Src("S/sub"), Tree.PathOf("inside")));     // the target inside the source
    ASSERT_TRUE(mounts.Bind(Src(), Tree.PathOf("same-as-src")));       // the source's folder twice
    ASSERT_TRUE(mounts.Bind(Src("S"), Tree.PathOf("holder/S")));       // the source itself in a target
    ASSERT_TRUE(mounts.Bind(Src("S/sub"), Dst("S/sub")));              // a folder merged onto itself
    Tree.Link("link-to-inside", Tree.PathOf("inside/deeper"));

    struct Case {
        std::string Name;
        TransferKind Kind;
        std::vector<std::string> Sources;
        std::string Target;
        RefusalKind Refused;
        Failures Failed; // when not refused
    };
    const std::vector<Case> cases = {
        {"copied into a bind mount of its own sub-folder", TransferKind::Copy, {Src("S")}, Tree.PathOf("inside"),
         RefusalKind::IntoItself, {}},
        {"copied below it, through a link", TransferKind::Copy, {Src("S")}, Tree.PathOf("link-to-inside"),
         RefusalKind::IntoItself, {}},
        {"moved into a bind mount of its own sub-folder", TransferKind::Move, {Src("S")}, Tree.PathOf("inside/deeper"),
         RefusalKind::IntoItself, {}},
        {"moved into its own folder's second mount", TransferKind::Move, {Src("S")}, Tree.PathOf("same-as-src"),
         RefusalKind::AlreadyInTarget, {}},
        {"moved onto its own second mount", TransferKind::Move, {Src("S")}, Tree.PathOf("holder"),
         RefusalKind::AlreadyInTarget, {}},
        {"copied onto its own second mount", TransferKind::Copy, {Src("S")}, Tree.PathOf("holder"),
         RefusalKind::AlreadyInTarget, {}},
        {"a file moved onto a second name of itself", TransferKind::Move, {Src("S/a.txt")}, Dst(),
         RefusalKind::AlreadyInTarget, {}},
        {"merged onto itself below the top", TransferKind::Move, {Src("S")}, Dst(), RefusalKind::None,
         {{Src("S/sub"), platform::kOntoItself}}},
        {"copied onto itself below the top", TransferKind::Copy, {Src("S")}, Dst(), RefusalKind::None,
         {{Src("S/sub"), platform::kOntoItself}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Prompt.Answers = {OverwriteAnswer::YesToAll};
        const auto source = FileSums(Src());
        const auto target = FileSums(row.Target);
        const platform::OperationResult result = Operation.Transfer(row.Kind, row.Sources, row.Target);
        EXPECT_EQ(result.Refused.Kind, row.Refused);
        EXPECT_EQ(result.Failures, row.Failed);
        // Every byte that was in the source is still there, under the same names.
        auto after = FileSums(Src());
        if (row.Kind == TransferKind::Move && !row.Failed.empty())
            after["S/a.txt"] = FileSums(Dst("S/a.txt")).at(".");
        EXPECT_EQ(after, source);
        EXPECT_TRUE(TemporaryEntries(Tree.Root()).empty());
        if (row.Refused != RefusalKind::None) {
            EXPECT_EQ(FileSums(row.Target), target);
        }
        if (row.Kind == TransferKind::Move && !row.Failed.empty())
            std::filesystem::rename(Dst("S/a.txt"), Src("S/a.txt"));
        std::filesystem::remove(Dst("S/a.txt"));
    }
}

} // namespace
