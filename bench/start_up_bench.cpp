// Start-up to the first drawn frame: the main window made and shown, the engine and the
// application started by the window's own timer, the first ring opened and its first frame drawn
// and finished (glFinish: llvmpipe rasterises in threads of its own). The ring is on a folder of
// 10,000 entries (ORBIVANE_START_BENCH_DIR/flat-10000, made by bench/start-up-sizes); the same start
// on an empty folder, measured in the same run, is the reference.
// FirstFrameWithSizes: the start on a tree of about 100,000 folders (folders-100000) to the first
// frame whose ring shows the whole tree's size: taken from the size history recorded before, and,
// as the reference, without a history, where the sizes come when the count ends.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/app_main.h"
#include "app/app_settings.h"
#include "forms/main.h"
#include "platform/folder_count.h"
#include "platform/size_history_store.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTimeoutMilliseconds = 60000;

std::string BenchFolder()
{
    const char* folder = std::getenv("ORBIVANE_START_BENCH_DIR");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

enum class SizeHistory { NotKept, Kept };

// A program folder with the shipped pictures and lists, settings that open `folder` and nothing
// else, and a 1024 x 768 window.
class BenchHome {
public:
    explicit BenchHome(const std::string& folder, SizeHistory history = SizeHistory::NotKept)
    {
        std::string pattern = (fs::temp_directory_path() / "orbivane-start-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            Home = pattern + "/";
        fs::copy(ORBIVANE_DATA_DIR "/textures", Home + "textures", fs::copy_options::recursive);
        for (const char* list : {"views.ini", "favorites.ini"})
            fs::copy_file(std::string(ORBIVANE_DATA_DIR "/") + list, Home + list);
        std::ofstream(Home + "recent.ini") << "APPEARANCE {\n  LEFT 0\n  TOP 0\n  WIDTH 1024\n  HEIGHT 768\n}\n";
        QASettings settings;
        settings.InitialRingMode = 2;
        settings.InitialRingFolder = folder;
        settings.CreateRingForHDD = false;
        settings.RecordSizeHistory = history == SizeHistory::Kept;
        std::ofstream(Home + "orbivane.ini") << SettingsText(settings);
        ::setenv("ORBIVANE_HOME", Home.c_str(), 1);
    }
    ~BenchHome()
    {
        std::error_code ignored;
        fs::remove_all(Home, ignored);
    }
    BenchHome(const BenchHome&) = delete;
    BenchHome& operator=(const BenchHome&) = delete;

private:
    std::string Home;
};

// Starts the main window and runs its frames until `shown` holds after one, then lets the drawing
// finish; the window is closed again.
template <typename Shown> double SecondsToFrame(Shown shown)
{
    const auto start = std::chrono::steady_clock::now();
    auto form = std::make_unique<TFormMain>();
    form->show();
    QElapsedTimer waited;
    waited.start();
    while (!shown(*form) && waited.elapsed() < kTimeoutMilliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    glFinish();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    form->close();
    form.reset();
    return elapsed.count();
}

void StartUpToFirstFrame(benchmark::State& state, const std::string& name)
{
    const std::string folder = BenchFolder() + name + "/";
    if (!fs::is_directory(folder)) {
        state.SkipWithError(("no folder " + folder + ": run bench/start-up-sizes").c_str());
        return;
    }
    BenchHome home(folder);
    for (auto _ : state)
        state.SetIterationTime(SecondsToFrame([](const TFormMain& form) { return form.Frames > 0; }));
}

// The tree counted by the folder counter as the program counts it, recorded as a complete count
// into the history the program reads for `folder`; returns the tree's bytes.
std::int64_t RecordHistoryOf(const std::string& folder)
{
    const platform::CountSnapshot snapshot = platform::CountWhole(folder, platform::VolumeCrossing::EnterOtherVolumes);
    const platform::CountRecord record{folder, 1'000'000'000, platform::CountExtent::Complete,
                                       platform::EntriesOf(snapshot), platform::kDefaultCountsKept, {}};
    if (!platform::RecordCount(platform::HistoryPathOf(folder, platform::SizeHistoryFolder()), record).Recorded)
        std::abort();
    return snapshot.Folders.front().Totals.Bytes;
}

const QOXRing* RingOf(const TFormMain& form)
{
    return form.Application != nullptr ? form.Application->CurrentRing : nullptr;
}

void FirstFrameWithSizes(benchmark::State& state, SizeHistory history)
{
    const std::string folder = BenchFolder() + "folders-100000/";
    if (!fs::is_directory(folder)) {
        state.SkipWithError(("no folder " + folder + ": run bench/start-up-sizes").c_str());
        return;
    }
    BenchHome home(folder, history);
    if (history == SizeHistory::Kept) {
        const std::string path = platform::HistoryPathOf(folder, platform::SizeHistoryFolder());
        const std::int64_t bytes = RecordHistoryOf(folder);
        const std::string kept = path + ".kept";
        fs::copy_file(path, kept);
        for (auto _ : state) {
            // Each run starts from the same history: the one before recorded its own count at quit.
            fs::copy_file(kept, path, fs::copy_options::overwrite_existing);
            state.SetIterationTime(SecondsToFrame([bytes](const TFormMain& form) {
                const QOXRing* ring = RingOf(form);
                return ring != nullptr && ring->Root != nullptr && ring->Root->Size == bytes;
            }));
        }
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(SecondsToFrame([](const TFormMain& form) {
            const QOXRing* ring = RingOf(form);
            return ring != nullptr && ring->Sizes != nullptr && !ring->Sizes->Progress().Busy;
        }));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::RegisterBenchmark("StartUpToFirstFrame/empty (reference)",
                                 [](benchmark::State& state) { StartUpToFirstFrame(state, "empty"); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("StartUpToFirstFrame/flat-10000",
                                 [](benchmark::State& state) { StartUpToFirstFrame(state, "flat-10000"); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("FirstFrameWithSizes/folders-100000 counted (reference)",
                                 [](benchmark::State& state) { FirstFrameWithSizes(state, SizeHistory::NotKept); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("FirstFrameWithSizes/folders-100000 from the size history",
                                 [](benchmark::State& state) { FirstFrameWithSizes(state, SizeHistory::Kept); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
