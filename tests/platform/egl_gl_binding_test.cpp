#include "platform/egl_gl_binding.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/gl_drivers.h"

namespace {

TEST(EglGLBinding, GivesALegacyContextWithDepthThatDrawsAndShares)
{
    platform::EglGLBinding binding(64, 32);
    ASSERT_TRUE(binding.IsAvailable());
    platform::GLFailure failure = platform::GLFailure::NoContext;
    auto first = binding.CreateContext(binding.DeviceHandle(), {32, 24}, nullptr, failure);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(failure, platform::GLFailure::None);
    ASSERT_TRUE(binding.MakeCurrent(first.get()));
    KeepGLDriversLoaded();

    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 24);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS); // immediate mode: only a compatibility context draws this
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    GLubyte pixel[4] = {};
    glReadPixels(63, 31, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    EXPECT_NE(std::strstr(extensions, "GL_ARB_multitexture"), nullptr) << "the program requires multitexturing";
    EXPECT_NE(binding.GetProcAddress("glActiveTextureARB"), nullptr);

    auto second = binding.CreateContext(binding.DeviceHandle(), {32, 24}, first.get(), failure);
    auto apart = binding.CreateContext(binding.DeviceHandle(), {32, 24}, nullptr, failure);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(binding.ShareLists(*first, *second));
    EXPECT_FALSE(binding.ShareLists(*first, *apart));
    EXPECT_TRUE(binding.MakeCurrent(nullptr));
}

TEST(EglGLBinding, WithoutASurfaceThereIsNoDevice)
{
    platform::EglGLBinding binding(8, 8);
    platform::GLFailure failure = platform::GLFailure::None;
    EXPECT_EQ(binding.CreateContext(nullptr, {32, 24}, nullptr, failure), nullptr);
    EXPECT_EQ(failure, platform::GLFailure::NoDevice);
    EXPECT_FALSE(binding.ChangeDisplay(800, 600, 32, 60));
}

} // namespace
