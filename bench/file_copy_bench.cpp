// Copying a folder tree with the program's file operation, next to cp -r doing the same in the same
// run: both copy the tree from ORBIVANE_BENCH_COPY_TREE into a fresh folder beside it, with the
// page cache warm and no dirty pages left from the run before. The two take turns, one copy each,
// so that a machine whose load changes during the run weighs on both alike. bench/file-copy makes
// the tree and prints the ratio.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file_operation.h"

namespace {

std::string SourceTree()
{
    const char* folder = std::getenv("ORBIVANE_BENCH_COPY_TREE");
    return folder != nullptr ? folder : "";
}

std::string CopiesFolder()
{
    return SourceTree() + "-copies";
}

// The progress window of the program, without a window: the operation still looks at the clock
// and hands out events at every step, as it does on screen.
class SilentProgress : public platform::ProgressView {
public:
    void Show() override {}
    void Report(const platform::ProgressReport&) override {}
    void Hide() override {}
    void ProcessEvents() override {}
    bool CancelRequested() const override { return false; }
};

// Outside the timing: an empty target, and what the last copy wrote on its way to the disk.
bool FreshTarget(benchmark::State& state)
{
    state.PauseTiming();
    std::filesystem::remove_all(CopiesFolder());
    std::filesystem::create_directories(CopiesFolder());
    ::sync();
    state.ResumeTiming();
    if (!SourceTree().empty())
        return true;
    state.SkipWithError("ORBIVANE_BENCH_COPY_TREE names no folder (run bench/file-copy)");
    return false;
}

void CopyWithFileOperation(benchmark::State& state)
{
    SilentProgress progress;
    const platform::FileOperation operation(nullptr, &progress, nullptr);
    for (auto _ : state) {
        if (!FreshTarget(state))
            break;
        const platform::OperationResult result =
            operation.Transfer(platform::TransferKind::Copy, {SourceTree()}, CopiesFolder());
        if (!result.Failures.empty())
            state.SkipWithError((result.Failures.front().Path + ": " + result.Failures.front().Reason).c_str());
    }
}

void CopyWithCp(benchmark::State& state)
{
    const std::string command = "cp -r '" + SourceTree() + "' '" + CopiesFolder() + "'";
    for (auto _ : state) {
        if (!FreshTarget(state))
            break;
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp -r failed");
    }
}

} // namespace

int main(int argc, char** argv)
{
    constexpr int kTurns = 7;
    for (int turn = 0; turn < kTurns; ++turn) {
        benchmark::RegisterBenchmark("CopyWithCp", CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
        benchmark::RegisterBenchmark("CopyWithFileOperation", CopyWithFileOperation)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
