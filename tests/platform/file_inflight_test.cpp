// What counts as left behind by an operation that did not end, and what Clean up may touch: only
// partial files and owner-only folders named by the journal of an operation whose process is gone,
// and each only while it is still what was found.
#include "platform/file_inflight.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/platform/file_operation_fixture.h"

namespace {

using Failures = std::vector<platform::FileFailure>;

class LeftoversTest : public FileOperationTest {
protected:
    std::string Journals() const { return Tree.PathOf("journals"); }
    // The journal of an operation that wrote into "dst/<folder>" and made "dst/<folder>/made",
    // written by a process of its own that then ends without ending the operation, as a killed one.
    void KilledWhileWriting(const std::string& folder)
    {
        Tree.MakeFolder("dst/" + folder + "/made");
        ::chmod(Dst(folder + "/made").c_str(), 0700);
        Put("dst/" + folder + "/" + platform::PartialName("big.bin", 0), "half of it");
        Put("dst/" + folder + "/made/" + platform::PartialName("small", 0), "a bit");
        struct stat made {};
        ::lstat(Dst(folder + "/made").c_str(), &made);
        const pid_t child = ::fork();
        if (child == 0) {
            platform::InFlightJournal journal(Journals());
            journal.WritingInto(Dst(folder));
            journal.MadeFolder(Dst(folder + "/made"), made, 0755);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    }
};

TEST_F(LeftoversTest, OnlyWhatAnOperationThatDidNotEndLeftIsFoundAndCleanedUp)
{
    struct Case {
        std::string Name;
        std::function<void()> Meanwhile; // after the kill, before the start that finds the leftovers
        std::size_t Partial;             // partial files found
        std::size_t Folders;             // owner-only folders found
        std::function<void()> BeforeCleanUp;
        std::size_t Failed;
        bool JournalsKept;
    };
    const std::string line = "a folder\nwith a line break";
    std::unique_ptr<platform::InFlightJournal> running;
    const std::vector<Case> cases = {
        {"a killed copy", [] {}, 2, 1, [] {}, 0, false},
        {"a running copy writes into the same folder",
         [&] {
             running = std::make_unique<platform::InFlightJournal>(Journals());
             running->WritingInto(Dst(line)); // its own partial files there are not left behind
         },
         1, 1, [] {}, 0, true},
        {"the user gave the folder a mode of its own", [&] { ::chmod(Dst(line + "/made").c_str(), 0750); }, 2, 0,
         [] {}, 0, false},
        {"a partial file changed after it was found", [] {}, 2, 1,
         [&] { Put("dst/" + line + "/" + platform::PartialName("big.bin", 0), "someone wrote this"); }, 1, true},
        {"a user's file of a partial name elsewhere", [&] { Put("dst/other/" + platform::PartialName("x", 0), "mine"); },
         2, 1, [] {}, 0, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Reset();
        std::filesystem::remove_all(Journals());
        Tree.MakeFolder("journals");
        Put("dst/" + line + "/whole.txt", "a whole copy");
        KilledWhileWriting(line);
        row.Meanwhile();
        const platform::Leftovers found = platform::FindLeftovers(Journals());
        EXPECT_EQ(found.PartialFiles.size(), row.Partial);
        EXPECT_EQ(found.OwnerOnlyFolders.size(), row.Folders);
        row.BeforeCleanUp();
        const auto before = FileSums(Dst());
        const Failures failures = platform::CleanUp(found);
        EXPECT_EQ(failures.size(), row.Failed);
        // Only partial files went, and only those found unchanged.
        auto expected = before;
        for (const platform::LeftEntry& file : found.PartialFiles) {
            if (failures.empty() || failures.front().Path != file.Path)
                expected.erase(file.Path.substr(Dst().size()));
        }
        EXPECT_EQ(FileSums(Dst()), expected);
        EXPECT_EQ(Snapshot(Dst(line + "/whole.txt")).at(".").Content, "a whole copy");
        struct stat made {};
        ::lstat(Dst(line + "/made").c_str(), &made);
        EXPECT_EQ(made.st_mode & 07777, row.Folders == 1 ? 0755u : 0750u);
        EXPECT_EQ(Snapshot(Journals()).size() > 1, row.JournalsKept);
        running.reset();
    }
}

} // namespace
