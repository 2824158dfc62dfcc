#pragma once
// The GL device of the benchmarks that draw: started on an off-screen EGL context, with the
// program's two fonts loaded from the program folder; and the reference every frame is measured
// against, one full-view fill with the bands' two pictures.
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

#include "graphics/gl_2D.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "platform/egl_gl_binding.h"
#include "presentation/gl_ring.h"
#include "resources/gl_materialengine.h"
#include "resources/gl_textureengine.h"

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

// The whole view once, textured as the bands are (element picture on unit 0, root picture on unit
// 1, both mipmapped), finished.
inline void FillView(QOXGL& device, const GLRing& renderer)
{
    device.ClearBuffers();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    GLMaterialEngine* materials = device.MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->AddTexturePass(renderer.ElementTexture);
    materials->ApplyMaterial();
    GLTextureEngine* textures = device.TextureEngine;
    textures->Bind(renderer.RootTexture, 1);
    glBegin(GL_QUADS);
    for (const auto& corner : {std::array<float, 2>{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        textures->MultiTexCoord(0, corner[0], corner[1]);
        textures->MultiTexCoord(1, corner[0], corner[1]);
        glVertex2f(corner[0] * 2.0f - 1.0f, corner[1] * 2.0f - 1.0f);
    }
    glEnd();
    textures->DisableUpperUnits();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glFinish();
}

// The median wall time of `fills` fills, in milliseconds.
inline double MedianFillMilliseconds(QOXGL& device, const GLRing& renderer, int fills)
{
    std::vector<double> times;
    for (int i = 0; i < fills; ++i) {
        const auto start = std::chrono::steady_clock::now();
        FillView(device, renderer);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + fills / 2, times.end());
    return times[static_cast<std::size_t>(fills / 2)];
}
