#include "graphics/gl_2D.h"

#include <GL/gl.h>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "graphics/gl_2D_console.h"
#include "graphics/gl_2D_screen.h"
#include "graphics/gl_main.h"

GL_2DSystem::GL_2DSystem(QOXObject* owner) : QOXObject(owner, "QOX GL 2D")
{
    Screen = QOXNew<GLScreen>(this);
}

void GL_2DSystem::ChildRemoved(QOXObject* child)
{
    if (child == Screen)
        Screen = nullptr;
    else if (static_cast<void*>(child) == static_cast<void*>(Fonts))
        Fonts = nullptr;
    else if (static_cast<void*>(child) == static_cast<void*>(Console))
        Console = nullptr;
}

void GL_2DSystem::Init()
{
    Engine()->Console->AddLine("QOX GL: GL 2D initialized!");
    InitTextEngines();
    Screen->Init();
}

void GL_2DSystem::SetSpace(GLSpace space, GLAspect aspect, float width, float height)
{
    Centred = space == GLSpace::Centred;
    FollowAspect = aspect == GLAspect::FollowViewport;
    Width = width;
    Height = height;
}

void GL_2DSystem::ViewportChanged()
{
    const QOXGL* device = GL();
    if (FollowAspect && device != nullptr && device->Width > 0)
        Height = static_cast<float>(device->Height) * (Width / static_cast<float>(device->Width));
}

void GL_2DSystem::Begin2D()
{
    if (In2D)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    if (Centred)
        glOrtho(-Width / 2.0, Width / 2.0, Height / 2.0, -Height / 2.0, -1.0, 1.0);
    else
        glOrtho(0.0, Width, Height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    In2D = true;
}

void GL_2DSystem::End2D()
{
    if (!In2D)
        return;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    In2D = false;
}

void GL_2DSystem::DrawQuad(int blendMode, const QXColor& colour, float alpha, float left, float top, float right,
                           float bottom)
{
    ApplyFlatMaterial(blendMode, colour, alpha, nullptr);
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
}

void GL_2DSystem::DrawCell(float halfSize, float x, float y, float cellWidth, float cellHeight, int column, int row)
{
    const float u = static_cast<float>(column) * cellWidth;
    const float v = 1.0f - static_cast<float>(row) * cellHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(u, v);
    glVertex2f(x - halfSize, y - halfSize);
    glTexCoord2f(u + cellWidth, v);
    glVertex2f(x + halfSize, y - halfSize);
    glTexCoord2f(u + cellWidth, v - cellHeight);
    glVertex2f(x + halfSize, y + halfSize);
    glTexCoord2f(u, v - cellHeight);
    glVertex2f(x - halfSize, y + halfSize);
    glEnd();
}

void GL_2DSystem::DrawSprite(QRTexture* texture, int blendMode, float halfSize, float x, float y, float cellWidth,
                             float cellHeight, int column, int row, float alpha, const QXColor& colour)
{
    ApplyFlatMaterial(blendMode, colour, alpha, texture);
    DrawCell(halfSize, x, y, cellWidth, cellHeight, column, row);
}

void GL_2DSystem::Render()
{
    Begin2D();
    DrawConsole();
    if (Screen != nullptr)
        Screen->Render();
    End2D();
}

bool GL_2DSystem::Changing() const
{
    const bool screenFading = Screen != nullptr && Screen->Enabled && Screen->Fade.State != GLFade::Still;
    return screenFading || (Console != nullptr && Console->Changing());
}

void GL_2DSystem::InitFade(GLFade& fade, int state)
{
    fade.Min = 0.0f;
    fade.Max = 1.0f;
    fade.Speed = 2.0f;
    fade.State = state;
    fade.Value = state == GLFade::Rising ? 1.0f : 0.0f;
}

float GL_2DSystem::UpdateFade(GLFade& fade)
{
    return UpdateFade(fade, Engine()->Timer->GetDelta());
}

float GL_2DSystem::UpdateFade(GLFade& fade, float frameSeconds)
{
    if (fade.State == GLFade::Rising) {
        fade.Value += frameSeconds * fade.Speed;
        if (fade.Value >= fade.Max) {
            fade.Value = fade.Max;
            fade.State = GLFade::Still;
        }
    } else if (fade.State == GLFade::Falling) {
        fade.Value -= frameSeconds * fade.Speed;
        if (fade.Value <= fade.Min) {
            fade.Value = fade.Min;
            fade.State = GLFade::Still;
        }
    }
    return fade.Value;
}

bool GL_2DSystem::IsFadedOut(const GLFade& fade)
{
    return fade.Value == fade.Min && fade.State != GLFade::Rising;
}
