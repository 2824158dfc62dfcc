// Folder sizes counted in the background, on real trees that bench/folder-sizes makes.
// CountAgainstDu: a whole tree (ORBIVANE_SIZES_COUNT_DIR) counted by the folder counter, in turn
// with `du -s` on the same tree; CountColdAgainstDu: the same from a cold page cache, for the ring
// the user looks at and for one elsewhere. Frames: a ring on a tree of 10,000 folders
// (ORBIVANE_SIZES_FRAME_DIR) drawn frame after frame while its sizes are counted, in turn with
// frames without counting; a frame is the engine's timer, the rings' part of the frame and the
// ring with its shadow drawn, ending at glFinish.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "app/app_main.h"
#include "bench/bench_application.h"
#include "bench/bench_drawing.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "platform/folder_count.h"
#include "presentation/gl_ring.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kPhases = 10;
constexpr int kPhaseFrames = 100;
constexpr int kUnmeasuredFrames = 3;
// Frames come at the pace of the program's frame timer; the workers count in the time between.
constexpr auto kFramePeriod = std::chrono::milliseconds(50);

std::string FolderOf(const char* variable)
{
    const char* folder = std::getenv(variable);
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of the calling thread: what a frame costs the GUI thread itself, whatever
// else the machine runs meanwhile.
double ThreadMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The time from the start of a count of the whole tree to the total of its folder.
double CountOnce(platform::FolderCounter& counter, const std::string& folder, platform::FolderTotals& totals,
                 platform::CountStanding standing = platform::CountStanding::Current)
{
    const Clock::time_point start = Clock::now();
    const platform::CountTreeId tree = counter.StartTree(folder, platform::VolumeCrossing::EnterOtherVolumes, standing);
    counter.Want(tree, {{"", 1}});
    std::vector<platform::CountResult> results;
    while (results.empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        counter.TakeResults(results);
    }
    const double took = MillisecondsSince(start);
    totals = results.back().Totals;
    counter.ForgetTree(tree);
    return took;
}

// Empties the page cache, so that the next read of the tree goes to the disk (needs root).
bool DropPageCache()
{
    return std::system("sync && echo 3 > /proc/sys/vm/drop_caches 2>/dev/null") == 0;
}

enum class Cache { Warm, Cold };

// `du` and the counter on the tree, in turn, `rounds` times, each from a warm cache or from an
// emptied one: the best time of each.
struct Race {
    double DuBest = 1e300;
    double CountBest = 1e300;
    platform::FolderTotals Totals;
};

Race RaceDu(benchmark::State& state, const std::string& du, int rounds, platform::CountStanding standing, Cache cache)
{
    const std::string folder = FolderOf("ORBIVANE_SIZES_COUNT_DIR");
    const std::string command = du + " '" + folder + "' > /dev/null";
    platform::FolderCounter counter;
    Race race;
    for (int round = 0; round < rounds; ++round) {
        if (cache == Cache::Cold && !DropPageCache()) {
            state.SkipWithError("emptying the page cache needs root");
            return race;
        }
        const Clock::time_point start = Clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("du failed");
        race.DuBest = std::min(race.DuBest, MillisecondsSince(start));
        if (cache == Cache::Cold)
            DropPageCache();
        race.CountBest = std::min(race.CountBest, CountOnce(counter, folder, race.Totals, standing));
    }
    return race;
}

// `du -s` at the idle workers' priority, then the counter, in turn, three times: the best of each.
void CountAgainstDu(benchmark::State& state)
{
    Race race;
    for (auto _ : state)
        race = RaceDu(state, "nice -n 19 du -s", 3, platform::CountStanding::Current, Cache::Warm);
    state.counters["du_ms"] = race.DuBest;
    state.counters["count_ms"] = race.CountBest;
    state.counters["files"] = static_cast<double>(race.Totals.Files);
    state.counters["folders"] = static_cast<double>(race.Totals.Folders);
    state.counters["workers"] = platform::FolderCounter::DefaultWorkerCount();
}

// From a cold cache: `du -s` at normal priority, and the counter for the ring the user looks at
// (argument 0: its own worker at normal priority besides the idle ones) or for a ring elsewhere
// (argument 1: the idle workers alone), in turn, twice; the best of each.
void CountColdAgainstDu(benchmark::State& state)
{
    const auto standing = state.range(0) == 0 ? platform::CountStanding::Watched : platform::CountStanding::Current;
    Race race;
    for (auto _ : state)
        race = RaceDu(state, "du -s", 2, standing, Cache::Cold);
    state.counters["du_ms"] = race.DuBest;
    state.counters["count_ms"] = race.CountBest;
}

// The program's frame as far as a ring goes: the engine's timer, the rings' part (counting and
// all), the shadow and the ring drawn.
class FrameScene {
public:
    FrameScene()
        : TheApplication(false, Application::Views::Shipped, Application::Pictures::Shipped), Binding(kWidth, kHeight)
    {
        Device = StartDrawing(Binding, kWidth, kHeight);
        Renderer = QOXNew<GLRing>(nullptr);
        Renderer->Init();
        Reopen();
    }
    ~FrameScene()
    {
        Renderer->Destroy();
        Device->Destroy();
    }
    FrameScene(const FrameScene&) = delete;
    FrameScene& operator=(const FrameScene&) = delete;

    void Frame()
    {
        Engine()->Update();
        App()->UpdateRings(Engine()->Timer->GetDelta());
        App()->FollowDisk(Engine()->Timer->GetDelta());
        Device->ClearBuffers();
        Renderer->DrawShadow(Ring);
        Device->ClearBuffers();
        Renderer->DrawRing(Ring);
        glFinish();
    }
    // The ring's layouts so far: a frame that lays it out anew rebuilds its geometry too.
    std::uint64_t Layouts() const { return Ring->LayoutCount; }
    // Until the first frame has passed, a new ring counts too.
    bool Counting() const { return Ring->Sizes == nullptr || Ring->Sizes->Progress().Busy; }
    // The ring closed and opened again: its count starts anew.
    void Reopen()
    {
        if (Ring != nullptr)
            App()->CloseRing(Ring);
        Ring = App()->CreateRing(FolderOf("ORBIVANE_SIZES_FRAME_DIR"));
        Ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.6f);
    }

private:
    Application TheApplication;
    platform::EglGLBinding Binding;
    QOXGL* Device = nullptr;    // owned
    GLRing* Renderer = nullptr; // owned
    QOXRing* Ring = nullptr;    // owned by the application
};

// Frame times in order: the median, the 99th percentile and the longest.
void Report(benchmark::State& state, const std::string& name, std::vector<double>& frames)
{
    if (frames.empty())
        frames.push_back(0.0);
    std::sort(frames.begin(), frames.end());
    state.counters[name + "_frames"] = static_cast<double>(frames.size());
    state.counters[name + "_median_ms"] = frames[frames.size() / 2];
    state.counters[name + "_p99_ms"] = frames[frames.size() * 99 / 100];
    state.counters[name + "_longest_ms"] = frames.back();
}

struct FrameTimes {
    std::vector<double> Wall;
    std::vector<double> Thread;
    std::vector<double> Steady; // the wall time of the frames that did not lay the ring out anew
};

// Phases of frames with the ring's sizes being counted and without counting, in turn, so that both
// see the same load of the machine. Turning counting on or off, and opening the ring again when its
// count is done, happen in frames that are not measured.
void FramesWhileCounting(benchmark::State& state)
{
    FrameScene scene;
    FrameTimes counting;
    FrameTimes still;
    int counts = 0;
    for (auto _ : state) {
        for (int phase = 0; phase < 2 * kPhases; ++phase) {
            const bool on = phase % 2 == 1;
            App()->Settings.CountFolderSizesInBackground = on;
            for (int frame = 0; frame < kUnmeasuredFrames; ++frame)
                scene.Frame();
            for (int frame = 0; frame < kPhaseFrames; ++frame) {
                if (on && !scene.Counting()) {
                    ++counts;
                    scene.Reopen();
                    scene.Frame();
                }
                const std::uint64_t layouts = scene.Layouts();
                const Clock::time_point start = Clock::now();
                const double thread = ThreadMilliseconds();
                scene.Frame();
                FrameTimes& times = on ? counting : still;
                times.Wall.push_back(MillisecondsSince(start));
                times.Thread.push_back(ThreadMilliseconds() - thread);
                if (scene.Layouts() == layouts)
                    times.Steady.push_back(times.Wall.back());
                std::this_thread::sleep_until(start + kFramePeriod);
            }
        }
    }
    Report(state, "without", still.Wall);
    Report(state, "counting", counting.Wall);
    Report(state, "without_gui", still.Thread);
    Report(state, "counting_gui", counting.Thread);
    Report(state, "without_steady", still.Steady);
    Report(state, "counting_steady", counting.Steady);
    state.counters["counts_done"] = counts;
}

BENCHMARK(CountAgainstDu)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(CountColdAgainstDu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(FramesWhileCounting)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (FolderOf("ORBIVANE_SIZES_COUNT_DIR").empty() || FolderOf("ORBIVANE_SIZES_FRAME_DIR").empty()) {
        std::cerr << "Set ORBIVANE_SIZES_COUNT_DIR and ORBIVANE_SIZES_FRAME_DIR (bench/folder-sizes makes them).\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
