// Size histories on real trees that bench/size-history makes.
// RecordAgainstCount: a tree of about 1,000,000 files (ORBIVANE_HISTORY_COUNT_DIR) counted whole by
// the folder counter, then its snapshot taken and recorded into a new history and into one that
// already holds ten counts; the count itself is the reference. Best of three each.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/folder_count.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string FolderOf(const char* variable)
{
    const char* folder = std::getenv(variable);
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The whole tree counted: from the start to the counter falling idle.
double CountOnce(platform::FolderCounter& counter, const std::string& folder, platform::CountSnapshot& snapshot,
                 double& snapshotMs)
{
    const Clock::time_point start = Clock::now();
    const platform::CountTreeId tree =
        counter.StartTree(folder, platform::VolumeCrossing::EnterOtherVolumes, platform::CountStanding::Current);
    while (counter.Progress(tree).Busy)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double took = MillisecondsSince(start);
    const Clock::time_point taken = Clock::now();
    counter.Snapshot(tree, snapshot);
    snapshotMs = MillisecondsSince(taken);
    counter.ForgetTree(tree);
    return took;
}

double RecordOnce(const std::string& path, const std::string& folder, const platform::CountSnapshot& snapshot, std::int64_t time)
{
    const Clock::time_point start = Clock::now();
    const platform::CountRecord record{folder, time, platform::CountExtent::Complete, platform::EntriesOf(snapshot),
                                       platform::kDefaultCountsKept, {}};
    if (!platform::RecordCount(path, record).Recorded)
        std::abort();
    return MillisecondsSince(start);
}

void RecordAgainstCount(benchmark::State& state)
{
    const std::string folder = FolderOf("ORBIVANE_HISTORY_COUNT_DIR");
    const std::string histories = std::filesystem::temp_directory_path().string() + "/orbivane-bench-histories/";
    std::filesystem::remove_all(histories);
    platform::FolderCounter counter;
    platform::CountSnapshot snapshot;
    double countBest = 1e300;
    double snapshotBest = 1e300;
    double firstBest = 1e300;
    double eleventhBest = 1e300;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (int round = 0; round < 3; ++round) {
            double snapshotMs = 0;
            countBest = std::min(countBest, CountOnce(counter, folder, snapshot, snapshotMs));
            snapshotBest = std::min(snapshotBest, snapshotMs);
            const std::string path = histories + "round-" + std::to_string(round);
            firstBest = std::min(firstBest, RecordOnce(path, folder, snapshot, 1'000'000'000));
            // Nine more counts, each a little different, then the eleventh timed.
            for (int count = 1; count < 10; ++count) {
                snapshot.Folders[static_cast<std::size_t>(count)].Totals.Bytes += count;
                RecordOnce(path, folder, snapshot, 1'000'000'000 + count * 86'400);
            }
            eleventhBest = std::min(eleventhBest, RecordOnce(path, folder, snapshot, 1'000'000'000 + 10 * 86'400));
            bytes = platform::StampOfFile(path).Size;
        }
    }
    std::filesystem::remove_all(histories);
    state.counters["count_ms"] = countBest;
    state.counters["snapshot_ms"] = snapshotBest;
    state.counters["record_first_ms"] = firstBest;
    state.counters["record_eleventh_ms"] = eleventhBest;
    state.counters["history_bytes"] = static_cast<double>(bytes);
    state.counters["folders"] = static_cast<double>(snapshot.Folders.size());
    state.counters["files"] = static_cast<double>(snapshot.Folders.empty() ? 0 : snapshot.Folders.front().Totals.Files);
}
BENCHMARK(RecordAgainstCount)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
