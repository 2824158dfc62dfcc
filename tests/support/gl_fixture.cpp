#include "tests/support/gl_fixture.h"

#include <GL/gl.h>

#include <cstdlib>

#include "tests/support/gl_drivers.h"

void GLTest::SetUp()
{
    EngineTest::SetUp();
    Binding = std::make_unique<platform::EglGLBinding>(kWidth, kHeight);
    if (!Binding->IsAvailable())
        GTEST_FAIL() << "no EGL display: Mesa's EGL (libegl-mesa0) is needed for the GL tests";
    Device = QOXNew<QOXGL>(nullptr);
    Device->Init(Binding.get(), "Display", 0, 0, kWidth, kHeight, 32, 100, false);
    KeepGLDriversLoaded();
}

void GLTest::TearDown()
{
    if (Device != nullptr)
        Device->Destroy();
    Device = nullptr;
    Binding.reset();
    EngineTest::TearDown();
}

Rgba GLTest::ReadPixel(int x, int y) const
{
    std::uint8_t pixel[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

std::vector<std::uint8_t> GLTest::Picture() const
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth * kHeight * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba GLTest::CentrePixel() const
{
    return ReadPixel(Device->X + Device->Width / 2, Device->Y + Device->Height / 2);
}

void GLTest::ClearTo(float red, float green, float blue, float alpha) const
{
    glClearColor(red, green, blue, alpha);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool GLTest::IsEnabled(unsigned capability)
{
    return glIsEnabled(capability) == GL_TRUE;
}

int GLTest::GetInteger(unsigned name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

bool GLTest::Close(const std::uint8_t* actual, const Rgba& expected, int tolerance)
{
    for (std::size_t i = 0; i < 4; ++i)
        if (std::abs(actual[i] - expected[i]) > tolerance)
            return false;
    return true;
}

::testing::AssertionResult GLTest::Near(const Rgba& actual, const Rgba& expected, int tolerance)
{
    for (std::size_t i = 0; i < 4; ++i)
        if (std::abs(actual[i] - expected[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ", " << actual[3] << ") is not ("
                   << expected[0] << ", " << expected[1] << ", " << expected[2] << ", " << expected[3] << ")";
    return ::testing::AssertionSuccess();
}
