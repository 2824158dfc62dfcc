// The program's file operation next to the system's tools in the same run, taking turns so that a
// machine whose load changes during the run weighs on both alike; bench/file-copy prepares the
// inputs and prints the ratios.
//   Copy*:   the tree in ORBIVANE_BENCH_COPY_TREE copied into a fresh folder beside it (cp -r).
//   Move*:   a copy of that tree, made outside the timing, moved onto the other file system
//            ORBIVANE_BENCH_MOVE_TARGET (mv).
//   Sparse*: the sparse image ORBIVANE_BENCH_SPARSE_IMAGE copied beside itself (cp).
// Outside the timing each turn starts from an empty target with no dirty pages left from the turn
// before.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/file_operation.h"

namespace {

std::string FromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string SourceTree()
{
    return FromEnvironment("ORBIVANE_BENCH_COPY_TREE");
}

std::string CopiesFolder()
{
    return SourceTree() + "-copies";
}

std::string MoveSource()
{
    return SourceTree() + "-to-move";
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

void Empty(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        std::filesystem::remove_all(entry.path());
}

// Outside the timing: an empty target, a fresh source when `prepare` makes one, and what the last
// turn wrote on its way to the disk.
bool Prepare(benchmark::State& state, const std::string& needed, const std::string& target,
             const std::function<bool()>& prepare = {})
{
    if (needed.empty()) {
        state.SkipWithError("the input is not named (run bench/file-copy)");
        return false;
    }
    state.PauseTiming();
    Empty(target);
    const bool prepared = !prepare || prepare();
    ::sync();
    state.ResumeTiming();
    if (!prepared)
        state.SkipWithError("the source could not be prepared");
    return prepared;
}

void Run(benchmark::State& state, const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        state.SkipWithError((command + " failed").c_str());
}

void Run(benchmark::State& state, platform::TransferKind kind, const std::string& source, const std::string& target)
{
    SilentProgress progress;
    const platform::FileOperation operation(nullptr, &progress, nullptr);
    const platform::OperationResult result = operation.Transfer(kind, {source}, target);
    if (!result.Failures.empty())
        state.SkipWithError((result.Failures.front().Path + ": " + result.Failures.front().Reason).c_str());
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

bool MakeMoveSource()
{
    std::filesystem::remove_all(MoveSource());
    return std::system(("cp -r " + Quoted(SourceTree()) + " " + Quoted(MoveSource())).c_str()) == 0;
}

void CopyWithCp(benchmark::State& state)
{
    for (auto _ : state) {
        if (Prepare(state, SourceTree(), CopiesFolder()))
            Run(state, "cp -r " + Quoted(SourceTree()) + " " + Quoted(CopiesFolder()));
    }
}

void CopyWithFileOperation(benchmark::State& state)
{
    for (auto _ : state) {
        if (Prepare(state, SourceTree(), CopiesFolder()))
            Run(state, platform::TransferKind::Copy, SourceTree(), CopiesFolder());
    }
}

void MoveWithMv(benchmark::State& state)
{
    const std::string target = FromEnvironment("ORBIVANE_BENCH_MOVE_TARGET");
    for (auto _ : state) {
        if (Prepare(state, target, target, MakeMoveSource))
            Run(state, "mv " + Quoted(MoveSource()) + " " + Quoted(target));
    }
}

void MoveWithFileOperation(benchmark::State& state)
{
    const std::string target = FromEnvironment("ORBIVANE_BENCH_MOVE_TARGET");
    for (auto _ : state) {
        if (Prepare(state, target, target, MakeMoveSource))
            Run(state, platform::TransferKind::Move, MoveSource(), target);
    }
}

void SparseWithCp(benchmark::State& state)
{
    const std::string image = FromEnvironment("ORBIVANE_BENCH_SPARSE_IMAGE");
    for (auto _ : state) {
        if (Prepare(state, image, image + "-copies"))
            Run(state, "cp " + Quoted(image) + " " + Quoted(image + "-copies/"));
    }
}

void SparseWithFileOperation(benchmark::State& state)
{
    const std::string image = FromEnvironment("ORBIVANE_BENCH_SPARSE_IMAGE");
    for (auto _ : state) {
        if (Prepare(state, image, image + "-copies"))
            Run(state, platform::TransferKind::Copy, image, image + "-copies");
    }
}

void Register(const char* name, void (*run)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}

} // namespace

int main(int argc, char** argv)
{
    const int copyTurns = 7;
    const int moveTurns = FromEnvironment("ORBIVANE_BENCH_MOVE_TARGET").empty() ? 0 : 3;
    const int sparseTurns = FromEnvironment("ORBIVANE_BENCH_SPARSE_IMAGE").empty() ? 0 : 5;
    for (int turn = 0; turn < copyTurns; ++turn) {
        Register("CopyWithCp", CopyWithCp);
        Register("CopyWithFileOperation", CopyWithFileOperation);
    }
    for (int turn = 0; turn < moveTurns; ++turn) {
        Register("MoveWithMv", MoveWithMv);
        Register("MoveWithFileOperation", MoveWithFileOperation);
    }
    for (int turn = 0; turn < sparseTurns; ++turn) {
        Register("SparseWithCp", SparseWithCp);
        Register("SparseWithFileOperation", SparseWithFileOperation);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(MoveSource());
    return 0;
}
