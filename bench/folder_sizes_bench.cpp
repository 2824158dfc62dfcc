// Folder sizes counted in the background, on real trees that bench/folder-sizes makes.
// Count: a whole tree counted by the folder counter (ORBIVANE_SIZES_COUNT_DIR; the script times
// `du -s` on the same tree beside it). Frames: a ring on a tree of 10,000 folders
// (ORBIVANE_SIZES_FRAME_DIR) drawn frame after frame while its sizes are counted, and the same
// frames without counting; a frame is the rings' part of the frame and the ring drawn, ending at
// glFinish.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

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
constexpr int kLeastFrames = 100;

std::string FolderOf(const char* variable)
{
    const char* folder = std::getenv(variable);
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The whole tree, from the start of the count to the total of its folder.
void Count(benchmark::State& state)
{
    const std::string folder = FolderOf("ORBIVANE_SIZES_COUNT_DIR");
    platform::FolderCounter counter;
    platform::FolderTotals totals;
    for (auto _ : state) {
        const platform::CountTreeId tree =
            counter.StartTree(folder, platform::VolumeCrossing::EnterOtherVolumes, platform::CountStanding::Current);
        counter.Want(tree, {{"", 1}});
        std::vector<platform::CountResult> results;
        for (bool done = false; !done;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            counter.TakeResults(results);
            done = !results.empty();
            if (done)
                totals = results.back().Totals;
        }
        counter.ForgetTree(tree);
    }
    state.counters["files"] = static_cast<double>(totals.Files);
    state.counters["folders"] = static_cast<double>(totals.Folders);
    state.counters["workers"] = platform::FolderCounter::DefaultWorkerCount();
}

// The program's frame as far as a ring goes: the engine's timer, the rings' part (counting and
// all), the shadow and the ring drawn.
class FrameScene {
public:
    explicit FrameScene(bool counting)
        : TheApplication(false, Application::Views::Shipped, Application::Pictures::Shipped), Binding(kWidth, kHeight)
    {
        Device = StartDrawing(Binding, kWidth, kHeight);
        Renderer = QOXNew<GLRing>(nullptr);
        Renderer->Init();
        App()->Settings.CountFolderSizesInBackground = counting;
        Ring = App()->CreateRing(FolderOf("ORBIVANE_SIZES_FRAME_DIR"));
        Ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.6f);
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
        Device->ClearBuffers();
        Renderer->DrawShadow(Ring);
        Device->ClearBuffers();
        Renderer->DrawRing(Ring);
        glFinish();
    }
    bool Counting() const { return Ring->Sizes != nullptr && Ring->Sizes->Progress().Busy; }

private:
    Application TheApplication;
    platform::EglGLBinding Binding;
    QOXGL* Device = nullptr;    // owned
    GLRing* Renderer = nullptr; // owned
    QOXRing* Ring = nullptr;    // owned by the application
};

// Argument 1: the ring's sizes are counted while the frames run (until the count is done, and at
// least kLeastFrames frames); 0: the same frames without counting.
void Frames(benchmark::State& state)
{
    const bool counting = state.range(0) != 0;
    FrameScene scene(counting);
    std::vector<double> frames;
    double countMs = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        bool busy = counting;
        while (static_cast<int>(frames.size()) < kLeastFrames || busy) {
            const Clock::time_point frame = Clock::now();
            scene.Frame();
            frames.push_back(MillisecondsSince(frame));
            if (busy && !scene.Counting()) {
                busy = false;
                countMs = MillisecondsSince(start);
            }
        }
    }
    std::sort(frames.begin(), frames.end());
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["p95_ms"] = frames[frames.size() * 95 / 100];
    state.counters["longest_ms"] = frames.back();
    state.counters["count_ms"] = countMs;
}

BENCHMARK(Count)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(Frames)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

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
