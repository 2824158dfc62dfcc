// Other programs at work while a copy or a move runs: files added, written to, replaced, or swapped
// for a pipe, a link or a folder between the moment an entry is looked at and the moment it is used.
// The progress window's event hand-over is where they act. Nothing may be lost, nothing followed,
// nothing waited on; what changed stays where it was and is named.
#include "platform/file_transfer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>

#include "tests/platform/file_operation_fixture.h"

namespace {

using platform::TransferKind;
using Failures = std::vector<platform::FileFailure>;
using Sums = std::map<std::string, std::uint64_t>;

class FileTransferTest : public FileOperationTest {
protected:
    void SetUp() override
    {
        FileOperationTest::SetUp();
        Operation.ShowProgressAfter = std::chrono::milliseconds(0);
    }
    // "src/d": two files, a sub-folder with one, and a secret outside that nothing may read.
    void MakeFolder()
    {
        Reset();
        Put("src/d/a.txt", "alpha");
        Put("src/d/b.bin", Bytes(300'000));
        Put("src/d/sub/c.txt", "gamma");
        Put("outside/secret", "never copied");
    }
    // Runs `act` once, at the hand-over of events whose report matches: the entry's copy step
    // (`copying`) or its removal step once the copy is done (a report without a target after the
    // copy began; the count before it has none either). `occurrence` picks a later matching report.
    void ActAt(const std::string& path, bool copying, int occurrence, std::function<void()> act)
    {
        Progress = ScriptedProgress();
        Progress.OnEvents = [path, copying, occurrence, act, began = false, seen = 0](ScriptedProgress& progress) mutable {
            if (progress.Reports.empty())
                return;
            const platform::ProgressReport& now = progress.Reports.back();
            began = began || !now.To.empty();
            if (now.From == path && began && now.To.empty() != copying && ++seen == occurrence)
                act();
        };
    }
    void Write(const std::string& relative, const std::string& bytes, const char* mode)
    {
        std::FILE* file = std::fopen(Tree.PathOf(relative).c_str(), mode);
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    void Swap(const std::string& relative, char kind)
    {
        const std::string path = Tree.PathOf(relative);
        std::filesystem::remove(path);
        if (kind == 'p')
            ::mkfifo(path.c_str(), 0644);
        else if (kind == 'l')
            std::filesystem::create_symlink(Tree.PathOf("outside/secret"), path);
        else
            Put(relative + "/inside", "a folder now");
    }
};

TEST_F(FileTransferTest, WhatChangesDuringAMoveStaysInPlaceAndIsNamed)
{
    MountTarget(64u << 20);
    if (IsSkipped())
        return;
    struct Case {
        std::string Name;
        std::string At;  // the entry whose step is the moment
        bool Copying;    // its copy step, or its removal step once copied
        int Occurrence;  // which report of that step: 2 is after a file's bytes
        std::string Changed; // what the other program touches
        char Change;     // 'n' new, 'a' appended, 'r' replaced
    };
    const std::vector<Case> cases = {
        {"a file added to a folder being copied", "d/sub/c.txt", true, 1, "d/sub/new.txt", 'n'},
        {"a file added once all was copied", "d", false, 1, "d/new.txt", 'n'},
        {"a file appended to while it is read", "d/a.txt", true, 2, "d/a.txt", 'a'},
        {"a file appended to once copied", "d", false, 1, "d/a.txt", 'a'},
        {"a file replaced while it is read", "d/a.txt", true, 2, "d/a.txt", 'r'},
        {"a file replaced once copied", "d", false, 1, "d/a.txt", 'r'},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        MakeFolder();
        const Sums before = FileSums(Src("d"));
        const std::string changed = "src/" + row.Changed;
        ActAt(Src(row.At), row.Copying, row.Occurrence, [&] {
            if (row.Change == 'r') {
                Put("src/replacement", "another file");
                std::filesystem::rename(Tree.PathOf("src/replacement"), Tree.PathOf(changed));
            } else {
                Write(changed, row.Change == 'n' ? "written meanwhile" : " and more", "ab");
            }
        });
        const platform::OperationResult moved = Move({Src("d")}, Dst());
        EXPECT_EQ(moved.Failures, (Failures{{Tree.PathOf(changed), platform::kChangedWhileMoved}}));
        // What changed is where it was, as the other program left it; nothing else is.
        const std::string relative = row.Changed.substr(2);
        const Sums left = FileSums(Src("d"));
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left.begin()->first, relative);
        EXPECT_EQ(left.begin()->second, Checksum(Snapshot(Tree.PathOf(changed)).at(".").Content));
        // Everything that was there is in the target, byte for byte (a file read while it grew
        // holds what it held when read).
        Sums copied = FileSums(Dst("d"));
        if (row.Change == 'a' && row.Copying)
            copied[relative] = before.at(relative);
        EXPECT_EQ(copied, before);
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
        // Undo brings back what went, beside what stayed.
        EXPECT_EQ(Operation.Undo(moved.Journal).Failures, Failures());
        Sums restored = before;
        restored[relative] = left.begin()->second;
        EXPECT_EQ(FileSums(Src("d")), restored);
        EXPECT_FALSE(Exists(Dst("d")));
    }
}

TEST_F(FileTransferTest, AnEntrySwappedForAPipeALinkOrAFolderIsNeitherFollowedNorWaitedOn)
{
    struct Case {
        char Kind;     // 'p' pipe, 'l' link to the secret, 'f' folder
        TransferKind Transfer;
    };
    std::vector<Case> cases;
    for (const char kind : {'p', 'l', 'f'})
        cases.push_back({kind, TransferKind::Copy});
    std::string reason;
    const bool crossing = Target.Mount(Dst(), 64u << 20, reason);
    for (const char kind : {'p', 'l', 'f'}) {
        if (crossing)
            cases.push_back({kind, TransferKind::Move});
    }
    for (const Case& row : cases) {
        const bool copy = row.Transfer == TransferKind::Copy;
        SCOPED_TRACE(std::string(1, row.Kind) + (copy ? " before it is copied" : " once it was copied"));
        MakeFolder();
        const Sums before = FileSums(Src("d"));
        // A copy meets the swap when it opens the file; a move when it would delete it.
        ActAt(Src("d/a.txt"), copy, 1, [&] { Swap("src/d/a.txt", row.Kind); });
        const platform::OperationResult result = Operation.Transfer(row.Transfer, {Src("d")}, Dst());
        const std::string why = copy ? platform::kChangedWhileCopied : platform::kChangedWhileMoved;
        EXPECT_EQ(result.Failures, (Failures{{Src("d/a.txt"), why}}));
        EXPECT_EQ(Snapshot(Src("d/a.txt")).at(".").Kind, row.Kind == 'p' ? 'o' : row.Kind == 'l' ? 'l' : 'd');
        Sums copied = FileSums(Dst("d"));
        Sums expected = before;
        if (copy)
            expected.erase("a.txt");
        EXPECT_EQ(copied, expected);
        EXPECT_EQ(Snapshot(Tree.PathOf("outside/secret")).at(".").Content, "never copied");
        EXPECT_TRUE(TemporaryEntries(Dst()).empty());
    }
    if (!crossing)
        GTEST_SKIP() << "the copies were tried; the moves need a file system of their own, which cannot be mounted "
                        "here ("
                     << reason << ")";
}

} // namespace
