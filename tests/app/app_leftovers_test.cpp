// A copy or a move killed half-way through a file (SIGKILL, as a power cut would leave it): the next
// start says on the console where its partial files and unfinished folders are, and Clean up removes
// the partial files and gives the folders their permissions without touching a whole file.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "tests/app/file_commands_fixture.h"
#include "tests/support/private_tmpfs.h"

namespace {

constexpr const char* kPartial = ".orbivane-partial-big.bin";

class LeftoversTest : public FileCommandsTest {
protected:
    // Runs a copy or a move in a process of its own, with this program folder for its journal, and
    // kills it once it has stopped half-way through its bytes.
    void RunUntilKilled(const std::string& kind, const std::string& source, const std::string& target)
    {
        int output[2];
        ASSERT_EQ(::pipe(output), 0);
        const std::string journals = ProgramFolder.Path();
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::execl(ORBIVANE_COPY_UNTIL_STOPPED, ORBIVANE_COPY_UNTIL_STOPPED, journals.c_str(), kind.c_str(),
                    target.c_str(), source.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(output[1]);
        pollfd ready{output[0], POLLIN, 0};
        char said[16] = {};
        const bool stopped = ::poll(&ready, 1, 60'000) == 1 && ::read(output[0], said, sizeof said - 1) > 0;
        ::close(output[0]);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(stopped) << "the operation never reached half-way";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }
    static mode_t ModeOf(const std::string& path)
    {
        struct stat status {};
        ::lstat(path.c_str(), &status);
        return status.st_mode & 07777;
    }
    static std::vector<std::string> Journals(const std::string& folder)
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".inflight")
                found.push_back(entry.path().filename());
        }
        return found;
    }
    bool Logged(const std::vector<std::string>& log, const std::string& line) const
    {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST_F(LeftoversTest, AKilledCopyOrMoveIsFoundAtTheNextStartAndCleanedUpWithoutTouchingWholeFiles)
{
    struct Case {
        std::string Name;
        std::string Kind;
        bool Merging;     // the target folder exists with a file of the user's own
        bool OtherVolume; // the target is another file system
    };
    std::vector<Case> cases = {{"a copy into a new folder", "copy", false, false},
                               {"a copy merging into a folder", "copy", true, false}};
    PrivateTmpfs volume;
    std::string reason;
    const bool mounted = volume.Mount(Tree.PathOf("volume"), 256u << 20, reason);
    if (mounted)
        cases.push_back({"a move to another volume", "move", false, true});
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        const std::string target = row.OtherVolume ? Tree.PathOf("volume") : Tree.PathOf("killed/dst");
        std::filesystem::remove_all(Tree.PathOf("killed"));
        std::filesystem::create_directories(target);
        Put("killed/src/tree/a.txt", "alpha");
        Put("killed/src/tree/b.txt", "beta");
        Put("killed/src/tree/inner/big.bin", std::string(24u << 20, 'x') + "end");
        ::chmod(Tree.PathOf("killed/src/tree").c_str(), 0750);
        ::chmod(Tree.PathOf("killed/src/tree/inner").c_str(), 0751);
        if (row.Merging)
            Put("killed/dst/tree/inner/mine.txt", "the user's own");
        const auto source = FileSums(Tree.PathOf("killed/src"));
        RunUntilKilled(row.Kind, Tree.PathOf("killed/src/tree"), target);
        if (HasFatalFailure())
            return;

        // The next start.
        NewLogLines();
        Desktop.Boxes.clear();
        Cursor->Files.FindLeftovers();
        const std::string copied = target + "/tree";
        const std::vector<std::string> log = NewLogLines();
        EXPECT_TRUE(Logged(log, "  partial file \"" + copied + "/inner/" + kPartial + "\"")) << testing::PrintToString(log);
        EXPECT_EQ(Logged(log, "  folder left owner-only \"" + copied + "\""), !row.Merging);
        EXPECT_EQ(Logged(log, "  folder left owner-only \"" + copied + "/inner\""), !row.Merging);
        EXPECT_NE(LastBox().find("Edit > Clean up"), std::string::npos) << LastBox();
        ASSERT_TRUE(Cursor->CanCleanUp());
        // Nothing of the source is lost, and what was put in place is whole.
        EXPECT_EQ(FileSums(Tree.PathOf("killed/src")), source);
        auto whole = FileSums(copied);
        EXPECT_EQ(whole.erase(std::string("inner/") + kPartial), 1u);
        whole.erase("inner/mine.txt");
        for (const auto& [path, sum] : whole)
            EXPECT_EQ(sum, source.at("tree/" + path)) << path;

        Cursor->CleanUp();
        auto left = FileSums(copied);
        EXPECT_EQ(left.count(std::string("inner/") + kPartial), 0u);
        EXPECT_EQ(left.size(), whole.size() + (row.Merging ? 1 : 0));
        EXPECT_EQ(FileSums(Tree.PathOf("killed/src")), source);
        if (row.Merging)
            EXPECT_EQ(Read("killed/dst/tree/inner/mine.txt"), "the user's own");
        else
            EXPECT_EQ(std::make_pair(ModeOf(copied), ModeOf(copied + "/inner")), std::make_pair(0750u, 0751u));
        EXPECT_FALSE(Cursor->CanCleanUp());
        EXPECT_TRUE(Journals(ProgramFolder.Path()).empty());
    }
    if (!mounted)
        GTEST_SKIP() << "the copies were tried; a move to another volume needs a file system mounted here (" << reason
                     << ")";
}

} // namespace
