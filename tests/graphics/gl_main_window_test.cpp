#include <GL/gl.h>
#include <gtest/gtest.h>

#include "graphics/gl_main.h"
#include "graphics/gl_scene_generic.h"
#include "platform/qt_gl_binding.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/gl_drivers.h"
#include "tests/support/qt_gl_window.h"

namespace {

class RedScene : public GLScene {
public:
    using GLScene::GLScene;
    void Render() override
    {
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }
};

// The device on a real window (Xvfb): a double-buffered context whose frame swaps and then clears.
TEST_F(EngineTest, DeviceDrawsFramesInAWindow)
{
    QtGLWindowUnderTest window(320, 240);
    platform::QtGLBinding& binding = window.Binding;
    QOXGL* device = QOXNew<QOXGL>(nullptr);
    device->Init(&binding, "Display", 0, 0, 320, 240, 32, 100, false);
    KeepGLDriversLoaded();
    ASSERT_NE(device->RenderingContext, nullptr);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(doubleBuffered, GL_TRUE);

    auto* scene = QOXNew<RedScene>(nullptr);
    scene->Activate();
    for (int frame = 0; frame < 3; ++frame)
        device->RenderFrame();
    GLubyte pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(160, 120, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0) << "the back buffer is cleared after the swap";
    EXPECT_TRUE(Desktop.Boxes.empty()) << "no GL error in a frame";
    scene->Destroy();
    device->Destroy();
}

} // namespace
