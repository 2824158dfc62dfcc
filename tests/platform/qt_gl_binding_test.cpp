#include "platform/qt_gl_binding.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QOpenGLContext>

#include "tests/support/gl_drivers.h"
#include "tests/support/qt_gl_window.h"

namespace {

// Needs a display: the suite runs under Xvfb.
TEST(QtGLBinding, WindowContextIsDoubleBufferedCompatibilityWithDepth)
{
    QtGLWindowUnderTest window(64, 48);
    platform::QtGLBinding& binding = window.Binding;
    void* handle = binding.DeviceHandle();
    ASSERT_NE(handle, nullptr);
    platform::GLFailure failure = platform::GLFailure::NoContext;
    auto context = binding.CreateContext(handle, {32, 24}, nullptr, failure);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(binding.MakeCurrent(context.get()));
    KeepGLDriversLoaded();

    const QSurfaceFormat format = QOpenGLContext::currentContext()->format();
    EXPECT_EQ(format.swapBehavior(), QSurfaceFormat::DoubleBuffer);
    EXPECT_GE(format.depthBufferSize(), 24);
    EXPECT_NE(format.profile(), QSurfaceFormat::CoreProfile);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLubyte pixel[4] = {};
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[2], 255);
    binding.SwapBuffers(*context);
    EXPECT_NE(binding.GetProcAddress("glActiveTextureARB"), nullptr);

    auto shared = binding.CreateContext(handle, {32, 24}, context.get(), failure);
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(binding.ShareLists(*context, *shared));
    EXPECT_TRUE(binding.MakeCurrent(nullptr));
}

} // namespace
