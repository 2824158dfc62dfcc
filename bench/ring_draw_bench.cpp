// Drawing one ring (its silhouette into the shadow map, then bands and labels) and the hover pick,
// on folders of 1,000, 10,000 and 100,000 visible elements, flat and deep, on the off-screen context
// at 1024 x 768. The folders come from ORBIVANE_DRAW_BENCH_DIR (bench/ring-draw makes them): flat-N
// and deep-N.
//
// Times are wall times up to glFinish: llvmpipe rasterises in threads of its own, so the drawing
// thread's CPU time says little about what a user waits for. Every frame benchmark also times the
// reference, one full-view quad with the bands' two pictures, right before and after its own loop
// on the same context, and reports the frame as a multiple of it ("x_fill").
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
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
#include "graphics/gl_rendertotexture.h"
#include "platform/egl_gl_binding.h"
#include "presentation/gl_ring.h"
#include "presentation/gl_ring_geometry.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_font.h"
#include "resources/resource_texture.h"
#include "ring/ring_main.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// The radius that fills the view's height at zoom 1 (the camera sees 45 degrees from 70 units).
constexpr float kViewRadius = 28.0f;
constexpr int kReferenceFills = 15;
constexpr int kShadowMapSide = 256; // "ShadowMapSize" as shipped

using Clock = std::chrono::steady_clock;

std::string BenchFolder()
{
    const char* folder = std::getenv("ORBIVANE_DRAW_BENCH_DIR");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

enum class Sizing { Unread, Designed, SizeTrue };

// How the frame is drawn (the benchmark's third argument): 0 as before level of detail and
// readable labels (every element a band, every label printed), 1 as the program draws it now.
void SetDrawing(GLRing* renderer, int drawing)
{
    renderer->Detail = drawing == 0 ? GLRingDetail::Exact : GLRingDetail::Merged;
    renderer->Labels = drawing == 0 ? GLRingLabels::Plain : GLRingLabels::Readable;
}

// A ring on one of the folders, every folder expanded, zoomed so that the whole ring is in view.
class RingScene {
public:
    // `sizing`: the files' sizes unread (as the other figures), or read and laid out as designed
    // or size true.
    RingScene(const benchmark::State& state, GLRingGeometry geometry, Sizing sizing = Sizing::Unread)
        : TheApplication(sizing != Sizing::Unread, Application::Views::Shipped, Application::Pictures::Shipped),
          Binding(kWidth, kHeight)
    {
        App()->Settings.SizeTrueRings = sizing == Sizing::SizeTrue;
        Device = StartDrawing(Binding, kWidth, kHeight);
        Renderer = QOXNew<GLRing>(nullptr);
        Renderer->Init();
        Renderer->Geometry = geometry;
        SetDrawing(Renderer, state.range(2));
        ShadowMap = QOXNew<QRTexture>(std::string(), Renderer);
        ShadowMap->CreateEmpty(kShadowMapSide, kShadowMapSide, {1.0f, 1.0f, 1.0f});
        ShadowPass = QOXNew<GLRenderToTexture>(Renderer);
        ShadowPass->SetTexture({ShadowMap->GLName, ShadowMap->Width, ShadowMap->Height});
        const std::string kind = state.range(0) == 0 ? "flat-" : "deep-";
        Ring = QOXNew<QOXRing>(BenchFolder() + kind + std::to_string(state.range(1)) + "/");
        Ring->Root->ExpandAll();
        Ring->Relayout();
        const float zoom = std::sqrt(kViewRadius / Ring->InnerRadius(Ring->MaxDepth() + 1));
        Ring->SetView({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, zoom);
        Ring->PixelsPerUnit = GLRing::PixelsPerUnit(*Ring, kHeight);
        Ring->Relayout();
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

    // The ring's part of a frame, as the scene draws it: the silhouette into the shadow map, then
    // the ring over the cleared view.
    void DrawFrame()
    {
        ShadowPass->Begin();
        Device->SetClearColor({0.0f, 0.0f, 0.0f});
        Device->ClearBuffers();
        Renderer->DrawShadow(Ring);
        Device->SetClearColor({1.0f, 1.0f, 1.0f});
        ShadowPass->CopyToTexture();
        ShadowPass->End();
        Device->ClearBuffers();
        Renderer->DrawRing(Ring);
        glFinish();
    }

    void Fill() { FillView(*Device, *Renderer); }
    // The median of a few reference fills.
    double ReferenceMilliseconds() { return MedianFillMilliseconds(*Device, *Renderer, kReferenceFills); }

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
    QRTexture* ShadowMap = nullptr;         // owned by the renderer
    GLRenderToTexture* ShadowPass = nullptr; // owned by the renderer
    QOXRing* Ring = nullptr;    // owned
    int Visible = 0;
};

// Frames in a loop, with the reference timed just before and just after on the same context.
void TimeFrames(benchmark::State& state, RingScene& scene)
{
    const double before = scene.ReferenceMilliseconds();
    const auto start = Clock::now();
    for (auto _ : state)
        scene.DrawFrame();
    const double frame = MillisecondsSince(start) / static_cast<double>(state.iterations());
    const double reference = (before + scene.ReferenceMilliseconds()) / 2.0;
    state.counters["visible"] = scene.Visible;
    state.counters["fill_ms"] = reference;
    state.counters["x_fill"] = frame / reference;
}

void DrawBatched(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Batched);
    TimeFrames(state, scene);
}

void DrawImmediate(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Immediate);
    TimeFrames(state, scene);
}

void HoverPick(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Batched);
    const auto points = scene.PointerPoints();
    std::size_t next = 0;
    int hits = 0;
    for (auto _ : state) {
        const auto& point = points[next++ % points.size()];
        const QRElement* found = scene.Renderer->Pick(scene.Ring, point[0], point[1]);
        hits += found != nullptr ? 1 : 0;
    }
    state.counters["visible"] = scene.Visible;
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

// A flat ring with its files' sizes read, laid out as designed (third argument 0) or size true
// (1), drawn as the program draws it now.
void DrawSizing(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Batched, state.range(2) == 1 ? Sizing::SizeTrue : Sizing::Designed);
    SetDrawing(scene.Renderer, 1);
    TimeFrames(state, scene);
}

// The size-true label layout of a flat ring, laid out again for every turn of the view.
void LabelLayout(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Batched, Sizing::SizeTrue);
    glPushMatrix();
    std::size_t labels = 0;
    for (auto _ : state) {
        scene.Ring->Rotation.Z += 0.5f;
        scene.Renderer->SetupRingTransform(scene.Ring, GLRingPass::Normal);
        labels = scene.Renderer->PlacedLabels(scene.Ring).size();
    }
    glPopMatrix();
    state.counters["labels"] = static_cast<double>(labels);
    state.counters["visible"] = scene.Visible;
}

// The reference on its own, on the smallest ring's context.
void Fill(benchmark::State& state)
{
    RingScene scene(state, GLRingGeometry::Batched);
    for (auto _ : state)
        scene.Fill();
}

// Arguments: flat (0) or deep (1), the element count, and the drawing (above).
void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int kind : {0, 1})
        for (const int count : {1000, 10000, 100000})
            benchmark->Args({kind, count, 1});
}

void SizesBeforeAndNow(benchmark::internal::Benchmark* benchmark)
{
    for (const int kind : {0, 1})
        for (const int count : {1000, 10000, 100000})
            for (const int drawing : {0, 1})
                benchmark->Args({kind, count, drawing});
    benchmark->Args({0, 1000000, 1}); // the frames the program spins at a million files
}

BENCHMARK(Fill)->Args({0, 1000, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(DrawBatched)->Apply(SizesBeforeAndNow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(DrawImmediate)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(DrawSizing)
    ->Args({0, 100000, 0})
    ->Args({0, 100000, 1})
    ->Args({0, 1000000, 0})
    ->Args({0, 1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(LabelLayout)->Args({0, 100000, 1})->Args({1, 100000, 1})->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(HoverPick)->Apply(Sizes)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

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
