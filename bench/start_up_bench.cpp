// Start-up to the first drawn frame: the main window made and shown, the engine and the
// application started by the window's own timer, the first ring opened and its first frame drawn
// and finished (glFinish: llvmpipe rasterises in threads of its own). The ring is on a folder of
// 10,000 entries (ORBIVANE_START_BENCH_DIR/flat-10000, made by bench/start-up); the same start
// on an empty folder, measured in the same run, is the reference.
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

#include "app/app_settings.h"
#include "forms/main.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTimeoutMilliseconds = 60000;

std::string BenchFolder()
{
    const char* folder = std::getenv("ORBIVANE_START_BENCH_DIR");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

// A program folder with the shipped pictures and lists, settings that open `folder` and nothing
// else, and a 1024 x 768 window.
class BenchHome {
public:
    explicit BenchHome(const std::string& folder)
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

void StartUpToFirstFrame(benchmark::State& state, const std::string& name)
{
    const std::string folder = BenchFolder() + name + "/";
    if (!fs::is_directory(folder)) {
        state.SkipWithError(("no folder " + folder + ": run bench/start-up").c_str());
        return;
    }
    BenchHome home(folder);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto form = std::make_unique<TFormMain>();
        form->show();
        QElapsedTimer waited;
        waited.start();
        while (form->Frames == 0 && waited.elapsed() < kTimeoutMilliseconds)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        glFinish();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        form->close();
        form.reset();
    }
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
