// The 2D system's seam to the material and text engines: flat and textured quads go through the
// material engine; the font engine and the console are made and started with the 2D system's
// start, and the console draws in its pass.
#include "graphics/gl_2D.h"
#include "graphics/gl_2D_console.h"
#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "resources/gl_materialengine.h"

void GL_2DSystem::ApplyFlatMaterial(int blendMode, const QXColor& colour, float alpha, QRTexture* texture)
{
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->SetBlendColor(blendMode, colour, alpha);
    if (texture != nullptr)
        materials->AddTexturePass(texture);
    materials->ApplyMaterial();
}

void GL_2DSystem::InitTextEngines()
{
    if (Fonts == nullptr)
        Fonts = QOXNew<GLFont>(this);
    if (Console == nullptr)
        Console = QOXNew<GLConsole>(this);
    Fonts->Init();
    Console->Init();
}

void GL_2DSystem::DrawConsole()
{
    if (Console != nullptr && Console->Enabled)
        Console->Draw();
}

void GL_2DSystem::Print(const std::string& fontName, int alignment, float x, float y, const QXColor& colour,
                        float alpha, float size, const std::string& text)
{
    QRFont* font = Fonts != nullptr ? Fonts->FindFont(fontName) : nullptr;
    if (font != nullptr)
        Fonts->DrawText(font, alignment, text, size, alpha, colour, y, x);
}
