// Scanning a large tree into a ring, next to what a bare C program spends reading the same tree in
// the same process: readdir alone for the scan that reads no sizes, readdir and one fstatat per
// entry for the scan that does. Then the memory a scanned tree holds, and one Relayout of many
// visible elements. The trees come from ORBIVANE_BENCH_DIR (bench/ring-model makes them):
// flat-100000 (one folder) and deep-100000 (five levels of five folders of 127 files).
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "app/app_main.h"
#include "bench/bench_application.h"
#include "bench/counting_heap.h"
#include "ring/ring_main.h"

namespace {

enum Tree { Flat = 0, Deep = 1, Million = 2 };
enum Sizes { NoSizes = 0, WithSizes = 1 };
enum Layout { ScanOnly = 0, FirstLayout = 1 };
// Trimmed: every scan starts from a heap that has given its free memory back, as the first scan of
// a large folder does, so the pages the tree takes are faulted in each time. Warm: the heap keeps
// the memory of the ring freed before, as when a folder is opened again.
enum Heap { Trimmed = 0, Warm = 1 };

std::string TreeFolder(std::int64_t tree)
{
    const char* root = std::getenv("ORBIVANE_BENCH_DIR");
    static const char* const kFolders[] = {"/flat-100000/", "/deep-100000/", "/flat-1000000/"};
    return std::string(root != nullptr ? root : "") + kFolders[tree];
}

// What a C program reads of a tree: every entry, and with a status call per entry its size.
struct WalkTotals {
    std::int64_t Entries = 0;
    std::int64_t Bytes = 0;
};

// Reads the folder open at `folderFd` (and closes it) and every folder below it that is not a link.
void Walk(int folderFd, Sizes sizes, WalkTotals& totals)
{
    DIR* folder = ::fdopendir(folderFd);
    if (folder == nullptr) {
        ::close(folderFd);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        ++totals.Entries;
        bool subfolder = entry->d_type == DT_DIR;
        struct stat status {};
        if (sizes == WithSizes && ::fstatat(::dirfd(folder), name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
            totals.Bytes += status.st_size;
            subfolder = S_ISDIR(status.st_mode);
        }
        if (subfolder) {
            const int child = ::openat(::dirfd(folder), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child >= 0)
                Walk(child, sizes, totals);
        }
    }
    ::closedir(folder);
}

std::int64_t MinorFaults()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

long PeakResidentKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long ResidentKilobytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Arguments: tree, sizes. The C baseline.
void CReadTree(benchmark::State& state)
{
    const std::string folder = TreeFolder(state.range(0));
    WalkTotals totals;
    for (auto _ : state) {
        totals = {};
        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        Walk(folderFd, static_cast<Sizes>(state.range(1)), totals);
        benchmark::DoNotOptimize(totals);
    }
    state.counters["elements"] = static_cast<double>(totals.Entries);
}

// What fresh memory costs on this machine: 4,096 pages of a new mapping are touched once each.
void CFaultPages(benchmark::State& state)
{
    constexpr std::size_t kPages = 4096;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    for (auto _ : state) {
        auto* memory = static_cast<char*>(
            ::mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        for (std::size_t i = 0; i < kPages; ++i)
            memory[i * page] = 1;
        benchmark::DoNotOptimize(memory);
        ::munmap(memory, kPages * page);
    }
    state.counters["pages"] = kPages;
}

QOXRing* ScanRing(const std::string& folder)
{
    QOXRing* ring = QOXNew<QOXRing>(folder);
    ring->ResetView();
    ring->Root->ExpandAll();
    return ring;
}

std::int64_t ElementsBelow(const QREFolder& folder)
{
    std::int64_t count = folder.Folders->Count() + folder.Files->Count();
    for (const QREFolder* child : *folder.Folders)
        count += ElementsBelow(*child);
    return count;
}

// Arguments: tree, sizes ("ComputeFileSizeAutomatically"), layout, heap.
void Scan(benchmark::State& state)
{
    Application application(state.range(1) == WithSizes);
    const std::string folder = TreeFolder(state.range(0));
    const bool layout = state.range(2) == FirstLayout;
    const bool trim = state.range(3) == Trimmed;
    if (!trim)
        ScanRing(folder)->Destroy();
    std::int64_t elements = 0;
    std::int64_t faults = 0;
    for (auto _ : state) {
        const std::int64_t faultsBefore = MinorFaults();
        QOXRing* ring = ScanRing(folder);
        if (layout)
            ring->Relayout();
        faults += MinorFaults() - faultsBefore;
        state.PauseTiming();
        elements = ElementsBelow(*ring->Root);
        ring->Destroy();
        if (trim)
            ::malloc_trim(0);
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["page_faults"] = static_cast<double>(faults) / static_cast<double>(state.iterations());
}

// Argument: tree. What a scanned and laid-out tree holds on the heap, per element; run it in a
// process of its own with ORBIVANE_COUNT_HEAP set, for counted blocks and a meaningful peak.
void Memory(benchmark::State& state)
{
    Application application(true);
    const std::string folder = TreeFolder(state.range(0));
    if (!bench::HeapCounted())
        state.SkipWithError("the heap is counted only with ORBIVANE_COUNT_HEAP set");
    for (auto _ : state) {
        const long residentBefore = ResidentKilobytes();
        const bench::HeapUse before = bench::HeapInUse();
        QOXRing* ring = ScanRing(folder);
        ring->Relayout();
        const bench::HeapUse after = bench::HeapInUse();
        const auto elements = static_cast<double>(ElementsBelow(*ring->Root));
        state.counters["elements"] = elements;
        state.counters["heap_bytes_per_element"] = static_cast<double>(after.Bytes - before.Bytes) / elements;
        state.counters["heap_blocks_per_element"] = static_cast<double>(after.Blocks - before.Blocks) / elements;
        state.counters["resident_before_kb"] = static_cast<double>(residentBefore);
        // The kernel's peak may lag behind the resident size read just now.
        const long resident = ResidentKilobytes();
        state.counters["resident_kb"] = static_cast<double>(resident);
        state.counters["peak_resident_kb"] = static_cast<double>(std::max(resident, PeakResidentKilobytes()));
        ring->Destroy();
    }
}

// Argument 1: the views the program ships are loaded, so every file is matched by extension.
void Relayout(benchmark::State& state)
{
    Application application(false, state.range(0) != 0 ? Application::Views::Shipped : Application::Views::None);
    QOXRing* ring = ScanRing(TreeFolder(Flat));
    for (auto _ : state)
        ring->Relayout();
    state.counters["elements"] = ring->Root->VisibleChildCount();
    ring->Destroy();
}

BENCHMARK(CReadTree)
    ->ArgsProduct({{Flat, Deep}, {NoSizes, WithSizes}})
    ->Args({Million, NoSizes})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CFaultPages)->Unit(benchmark::kMillisecond);
BENCHMARK(Scan)
    ->ArgsProduct({{Flat, Deep}, {NoSizes, WithSizes}, {ScanOnly, FirstLayout}, {Trimmed}})
    ->ArgsProduct({{Flat, Deep}, {NoSizes, WithSizes}, {ScanOnly}, {Warm}})
    ->Args({Million, NoSizes, ScanOnly, Trimmed})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Memory)->Arg(Flat)->Arg(Deep)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Relayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("ORBIVANE_BENCH_DIR") == nullptr) {
        std::cerr << "Set ORBIVANE_BENCH_DIR to a folder holding flat-100000 and deep-100000 "
                     "(bench/ring-model makes them).\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
