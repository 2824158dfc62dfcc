#include "graphics/gl_2D_screen.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_camera.h"
#include "graphics/gl_main.h"

namespace {
float Mean(const QXColor& colour)
{
    return (colour.X + colour.Y + colour.Z) / 3.0f;
}
} // namespace

GLScreen::GLScreen(QOXObject* owner) : QOXObject(owner, "QOX GL 2D Screen") {}

void GLScreen::Init()
{
    GL_2DSystem::InitFade(Fade, GLFade::Rising);
    Colour = {1.0f, 1.0f, 1.0f};
    Engine()->Console->AddLine("QOX GL: GL Screen initialized!");
}

void GLScreen::Render()
{
    QOXGL* device = GL();
    if (!Enabled || device == nullptr || device->System2D == nullptr)
        return;
    GL_2DSystem& system = *device->System2D;
    GL_2DSystem::UpdateFade(Fade);
    if (device->Camera != nullptr && Mean(device->Camera->Colour) < 1.0f)
        DrawTint(system, device->Camera->Colour, 1.0f);
    if (Mean(Colour) < 1.0f)
        DrawTint(system, Colour, 1.0f);
    if (Fade.Value < 1.0f)
        DrawTint(system, {0.0f, 0.0f, 0.0f}, 1.0f - Fade.Value);
}

void GLScreen::DrawTint(GL_2DSystem& system, const QXColor& colour, float alpha)
{
    const bool began = !system.In2D;
    if (began)
        system.Begin2D();
    if (system.Centred)
        system.DrawQuad(static_cast<int>(GLBlendMode::Negative), colour, alpha, -system.Width / 2.0f,
                        -system.Height / 2.0f, system.Width / 2.0f, system.Height / 2.0f);
    else
        system.DrawQuad(static_cast<int>(GLBlendMode::Negative), colour, alpha, 0.0f, 0.0f, system.Width,
                        system.Height);
    if (began)
        system.End2D();
}
