// Scanning and laying out one large folder, and laying out a ring of many visible elements again.
// The folder comes from ORBIVANE_BENCH_DIR (bench/ring-model makes it).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/app_main.h"
#include "bench/bench_application.h"

namespace {

std::string BenchFolder()
{
    const char* folder = std::getenv("ORBIVANE_BENCH_DIR");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

QOXRing* ScanAndLayOut(const std::string& folder)
{
    QOXRing* ring = QOXNew<QOXRing>(folder);
    ring->ResetView();
    ring->Root->Expand();
    ring->Relayout();
    return ring;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

long PeakResidentKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Argument 1: file sizes are read in the same pass ("ComputeFileSizeAutomatically").
void ScanAndFirstLayout(benchmark::State& state)
{
    Application application(state.range(0) != 0);
    const std::string folder = BenchFolder();
    std::int64_t elements = 0;
    for (auto _ : state) {
        QOXRing* ring = ScanAndLayOut(folder);
        state.PauseTiming();
        elements = ring->Root->VisibleChildCount();
        ring->Destroy();
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(elements);
}

// Argument 1: the views the program ships are loaded, so every file is matched by extension.
void Relayout(benchmark::State& state)
{
    Application application(false, state.range(0) != 0 ? Application::Views::Shipped : Application::Views::None);
    const std::size_t heapBefore = HeapInUse();
    QOXRing* ring = ScanAndLayOut(BenchFolder());
    const std::size_t heapAfter = HeapInUse();
    const int elements = ring->Root->VisibleChildCount();
    for (auto _ : state)
        ring->Relayout();
    state.counters["elements"] = elements;
    state.counters["bytes_per_element"] =
        elements > 0 ? static_cast<double>(heapAfter - heapBefore) / static_cast<double>(elements) : 0.0;
    state.counters["peak_rss_kb"] = static_cast<double>(PeakResidentKilobytes());
    ring->Destroy();
}

BENCHMARK(ScanAndFirstLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Relayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    if (BenchFolder().empty()) {
        std::cerr << "Set ORBIVANE_BENCH_DIR to a folder (bench/ring-model makes one).\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
