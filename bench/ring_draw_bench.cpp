// Drawing one ring (bands, labels and shadow) and the hover pick, on folders of 1,000, 10,000 and
// 100,000 visible elements, flat and deep, on the off-screen context at 1024 x 768. The folders
// come from ORBIVANE_DRAW_BENCH_DIR (bench/ring-draw makes them): flat-N and deep-N.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_application.h"
#include "bench/bench_drawing.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "platform/egl_gl_binding.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "ring/ring_main.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// The radius that fills the view's height at zoom 1 (the camera sees 45 degrees from 70 units).
constexpr float kViewRadius = 28.0f;

std::string BenchFolder()
{
    const char* folder = std::getenv("ORBIVANE_DRAW_BENCH_DIR");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

// A ring on one of the folders, every folder expanded, zoomed so that the whole ring is in view.
class RingScene {
public:
    RingScene(const benchmark::State& state, GLRingGeometry geometry)
        : TheApplication(false, Application::Views::Shipped, Application::Pictures::Shipped), Binding(kWidth, kHeight)
    {
        Device = StartDrawing(Binding, kWidth, kHeight);
        Renderer = QOXNew<GLRing>(nullptr);
        Renderer->Init();
        Renderer->Geometry = geometry;
        const std::string kind = state.range(0) == 0 ? "flat-" : "deep-";
        Ring = QOXNew<QOXRing>(BenchFolder() + kind + std::to_string(state.range(1)) + "/");
        Ring->Root->ExpandAll();
        Ring->Relayout();
        const float zoom = std::sqrt(kViewRadius / Ring->InnerRadius(Ring->MaxDepth() + 1));
        Ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, zoom);
        auto count = [this](QRElement*) { ++Visible; };
        ForEachDrawnElement(Ring->Root, count);
    }
    ~RingScene()
    {
        Ring->Destroy();
        Renderer->Destroy();
        Device->Destroy();
    }
    RingScene(const RingScene&) = delete;
    RingScene& operator=(const RingScene&) = delete;

    void DrawFrame()
    {
        Device->ClearBuffers();
        Renderer->DrawShadow(Ring);
        Device->ClearBuffers();
        Renderer->DrawRing(Ring);
        glFinish();
    }

    // Points spread over the ring's square, where the pointer mostly finds an element.
    std::vector<std::array<float, 2>> PointerPoints() const
    {
        std::mt19937 random(11);
        std::uniform_real_distribution<float> across(kWidth / 2.0f - kHeight / 2.0f, kWidth / 2.0f + kHeight / 2.0f);
        std::uniform_real_distribution<float> down(0.0f, static_cast<float>(kHeight));
        std::vector<std::array<float, 2>> points(1024);
        for (auto& point : points)
            point = {across(random), down(random)};
        return points;
    }

    Application TheApplication;
    platform::EglGLBinding Binding;
    QOXGL* Device = nullptr;    // owned
    GLRing* Renderer = nullptr; // owned
    QOXRing* Ring = nullptr;    // owned
    int Visible = 0;
};

void Draw(benchmark::State& state, GLRingGeometry geometry)
{
    RingScene scene(state, geometry);
    for (auto _ : state)
        scene.DrawFrame();
    state.counters["visible"] = scene.Visible;
}

void DrawBatched(benchmark::State& state)
{
    Draw(state, GLRingGeometry::Batched);
}

void DrawImmediate(benchmark::State& state)
{
    Draw(state, GLRingGeometry::Immediate);
}

void Pick(benchmark::State& state, bool selection)
{
    RingScene scene(state, GLRingGeometry::Batched);
    const auto points = scene.PointerPoints();
    std::size_t next = 0;
    int hits = 0;
    for (auto _ : state) {
        const auto& point = points[next++ % points.size()];
        const QRElement* found = selection ? scene.Renderer->PickBySelection(scene.Ring, point[0], point[1])
                                           : scene.Renderer->Pick(scene.Ring, point[0], point[1]);
        hits += found != nullptr ? 1 : 0;
    }
    state.counters["visible"] = scene.Visible;
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

void HoverPick(benchmark::State& state)
{
    Pick(state, false);
}

void SelectionPick(benchmark::State& state)
{
    Pick(state, true);
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int kind : {0, 1})
        for (const int count : {1000, 10000, 100000})
            benchmark->Args({kind, count});
}

BENCHMARK(DrawBatched)->Apply(Sizes)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(DrawImmediate)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(HoverPick)->Apply(Sizes)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(SelectionPick)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (BenchFolder().empty()) {
        std::cerr << "Set ORBIVANE_DRAW_BENCH_DIR to a folder (bench/ring-draw makes one).\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
