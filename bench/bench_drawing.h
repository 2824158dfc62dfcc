#pragma once
// The GL device of the benchmarks that draw: started on an off-screen EGL context, with the
// program's two fonts loaded from the program folder.
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "platform/egl_gl_binding.h"

// The started device; the caller owns it.
inline QOXGL* StartDrawing(platform::EglGLBinding& binding, int width, int height)
{
    QOXGL* device = QOXNew<QOXGL>(nullptr);
    device->Init(&binding, "Display", 0, 0, width, height, 32, 100, false);
    GLFont* fonts = device->System2D->Fonts;
    fonts->CreateFont("textures/fonts/default", "Default")->SetNegative(1);
    fonts->CreateFont("textures/fonts/default", "Default Add");
    return device;
}
