#include "app/app_size_recorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "tests/support/file_tree.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

// A ring's count as the program follows it frame by frame, recorded into a history folder of the
// test's own.
class SizeRecorderTest : public ::testing::Test {
protected:
    SizeRecorderTest() : Recorder(Counter, State.Path())
    {
        Tree.File("grows.bin", 2 << 20);
        Tree.File("sub/small.txt", 500);
        Id = Counter.StartTree(Tree.Root(), platform::VolumeCrossing::EnterOtherVolumes, platform::CountStanding::Current);
    }

    // Frames until the counter is idle and a frame has seen it so.
    void Settle()
    {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        for (bool busy = true; busy && std::chrono::steady_clock::now() < deadline; Clock += 0.05) {
            const platform::CountProgress progress = Counter.Progress(Id);
            busy = progress.Busy;
            Recorder.Follow(Id, Tree.Root(), progress, Clock, Now);
            std::this_thread::sleep_for(1ms);
        }
    }

    platform::SizeHistory History() const
    {
        platform::SizeHistory history;
        platform::ReadHistoryFile(platform::HistoryPathOf(Tree.Root(), State.Path()), history);
        return history;
    }

    TempFolder State;
    FileTree Tree;
    platform::FolderCounter Counter;
    QASizeRecorder Recorder;
    platform::CountTreeId Id = 0;
    double Clock = 0.0;
    std::int64_t Now = 1'796'083'200;
};

// One count per session: recorded when it completes, replaced by a later one once live changes
// have changed it and ten minutes have passed, and again when the ring goes only if it changed.
TEST_F(SizeRecorderTest, ASessionLeavesOneCountOfTheFolder)
{
    struct Step {
        const char* Name;
        std::int64_t Grow;   // new size of grows.bin, 0 for none
        double Wait;         // seconds of frame time after the count settled
        bool Leave;          // the ring goes
        std::int64_t Time;   // of the one count recorded, after the start
        std::int64_t Bytes;  // of the folder in it
    };
    const Step steps[] = {
        {"first count", 0, 0.0, false, 0, (2 << 20) + 500},
        {"changed, too soon", 3 << 20, 10.0, false, 0, (2 << 20) + 500},
        {"changed, ten minutes on", 0, QASizeRecorder::kRecordAgainSeconds, false, 3, (3 << 20) + 500},
        {"changed, the ring goes", 4 << 20, 1.0, true, 4, (4 << 20) + 500},
    };
    const std::int64_t start = Now;
    for (const Step& step : steps) {
        if (step.Grow != 0) {
            Tree.File("grows.bin", static_cast<std::uintmax_t>(step.Grow));
            Counter.Recount(Id, "");
        }
        Settle();
        Clock += step.Wait;
        Now += 1;
        Recorder.Follow(Id, Tree.Root(), Counter.Progress(Id), Clock, Now);
        if (step.Leave)
            Recorder.Leave(Id, Counter.Progress(Id), Now);
        const platform::SizeHistory history = History();
        ASSERT_EQ(history.Counts.size(), 1u) << step.Name;
        EXPECT_EQ(history.Counts[0].Time - start, step.Time) << step.Name;
        EXPECT_EQ(history.Counts[0].Extent, platform::CountExtent::Complete) << step.Name;
        EXPECT_EQ(history.Counts[0].Find(*history.IndexOf(""))->Bytes, step.Bytes) << step.Name;
        EXPECT_EQ(Recorder.RecordedTime(Tree.Root()), history.Counts[0].Time) << step.Name;
    }
    EXPECT_TRUE(Recorder.TakeProblems().empty());
}

} // namespace
