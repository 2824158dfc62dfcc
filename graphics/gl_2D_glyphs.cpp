#include "graphics/gl_2D_glyphs.h"

#include <GL/gl.h>

#include "graphics/gl_2D_font.h"
#include "graphics/gl_main.h"
#include "resources/gl_textureengine.h"
#include "resources/resource_font.h"

namespace {

constexpr float kCell = 1.0f / QRFont::kGridSize;
constexpr QXColor kWhite{1.0f, 1.0f, 1.0f};

QXVector4 BlendColour(int mode, const QXColor& colour, float alpha)
{
    const auto blend = QOXGL::BlendOf(mode, colour, alpha);
    if (!blend)
        return {colour.X, colour.Y, colour.Z, alpha};
    const auto& c = blend->Colour;
    return {static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]), static_cast<float>(c[3])};
}

} // namespace

void GLGlyphBatch::Add(const QRFont* font, int alignment, const std::string& text, float size, float alpha,
                       const QXColor& colour, float x, float y, const GLTextFrame& frame)
{
    const QXVector4 vertexColour = BlendColour(GLFont::BlendModeOf(font), colour, alpha);
    const float half = GLFont::kGlyphHalfSize * size;
    const auto corner = [&](float cx, float cy, float s, float t) {
        Vertices.push_back({frame.Origin.X + cx * frame.Along.X + cy * frame.Down.X,
                            frame.Origin.Y + cx * frame.Along.Y + cy * frame.Down.Y, s, t, vertexColour});
    };
    // The corners in the order and with the coordinates of the font engine's quad.
    GLFont::ForEachGlyph(font, alignment, text, size, x, [&](unsigned char code, float middle) {
        const float u = static_cast<float>(code % QRFont::kGridSize) * kCell;
        const float v = 1.0f - static_cast<float>(code / QRFont::kGridSize) * kCell;
        corner(middle - half, y - half, u, v);
        corner(middle + half, y - half, u + kCell, v);
        corner(middle + half, y + half, u + kCell, v - kCell);
        corner(middle - half, y + half, u, v - kCell);
    });
}

void GLGlyphBatch::Draw(QRFont* font)
{
    if (Vertices.empty())
        return;
    GLFont::ApplyFontMaterial(font, 1.0f, kWhite);
    GLTextureEngine* textures = GL()->TextureEngine;
    constexpr int kStride = sizeof(Vertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, kStride, &Vertices.front().X);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, kStride, &Vertices.front().Colour.X);
    textures->SetTexCoordArray(0, kStride, &Vertices.front().S);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(Vertices.size()));
    textures->ClearTexCoordArray(0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // A colour array leaves the current colour undefined: back to what the material sent.
    GL()->SetBlendMode(GLFont::BlendModeOf(font), kWhite, 1.0f);
    Vertices.clear();
}
