#pragma once
// A running engine with a started GL device on a real off-screen OpenGL context (EGL on Mesa, no
// window), and helpers to read the picture back.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/gl_main.h"
#include "platform/egl_gl_binding.h"
#include "tests/support/engine_fixture.h"

using Rgba = std::array<int, 4>;

class GLTest : public EngineTest {
protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    void SetUp() override;
    void TearDown() override;

    // The colour at window pixel (x, y), y counted upwards from the bottom as OpenGL does.
    Rgba ReadPixel(int x, int y) const;
    // Every pixel of the view, RGBA, bottom row first.
    std::vector<std::uint8_t> Picture() const;
    // The colour at the centre of the viewport.
    Rgba CentrePixel() const;
    // Clears the colour buffer to `colour` with every blending state as it is.
    void ClearTo(float red, float green, float blue, float alpha = 1.0f) const;
    // Whether the GL state `capability` is enabled.
    static bool IsEnabled(unsigned capability);
    static int GetInteger(unsigned name);
    // Each channel of `actual` within `tolerance` of `expected` (0..255).
    static ::testing::AssertionResult Near(const Rgba& actual, const Rgba& expected, int tolerance = 2);
    // The same for one pixel of a picture (four bytes), cheap enough to ask of every pixel.
    static bool Close(const std::uint8_t* actual, const Rgba& expected, int tolerance = 2);

    std::unique_ptr<platform::EglGLBinding> Binding;
    QOXGL* Device = nullptr; // owned; destroyed in TearDown before the engine
};
