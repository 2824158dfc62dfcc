#include "graphics/gl_2D_font.h"

#include <algorithm>

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "graphics/gl_2D.h"
#include "graphics/gl_main.h"
#include "resources/gl_materialengine.h"
#include "resources/resource_font.h"
#include "resources/resource_texture.h"

namespace {

constexpr float kCell = 1.0f / QRFont::kGridSize;
constexpr int kNegativeBlend = 3;
constexpr int kAdditiveBlend = 1;

// Length of the UTF-8 sequence that `lead` starts, or 0 when it starts none.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

constexpr const char* kEllipsis = "\xE2\x80\xA6";

} // namespace

std::string Latin1Glyphs(const std::string& utf8)
{
    std::string glyphs;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = SequenceLength(lead);
        bool whole = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0xC0) == 0x80;
        if (!whole) {
            glyphs += '?';
            ++i;
            continue;
        }
        if (length == 1)
            glyphs += static_cast<char>(lead);
        else if (length == 2 && lead >= 0xC2 && lead <= 0xC3)
            glyphs += static_cast<char>(((lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
        else if (utf8.compare(i, 3, kEllipsis) == 0)
            glyphs += "..."; // the font has no ellipsis of its own
        else
            glyphs += '?';
        i += static_cast<std::size_t>(length);
    }
    return glyphs;
}

GLFont::GLFont(QOXObject* owner) : QOXObject(owner, "QOX GL 2D Font")
{
    Fonts = NewRegister<QRFont>(this);
}

void GLFont::Init()
{
    Engine()->Console->AddLine("QOX GL: GL 2D Font initialized!");
}

// A second font of the same file (the scene's two blend modes) copies the first one's texture:
// decoding, mipmapping and compressing a font picture is most of what a font costs at start-up.
QRFont* GLFont::CreateFont(const std::string& fileName, const std::string& name)
{
    const QRFont* loaded = LoadedFrom(fileName);
    QRFont* font = QOXNew<QRFont>(loaded != nullptr ? std::string() : fileName, 1, this);
    if (loaded != nullptr)
        font->LoadCopyOf(*loaded);
    Fonts->Add(font);
    font->SetName(name);
    return font;
}

const QRFont* GLFont::LoadedFrom(const std::string& fileName) const
{
    const auto found = std::find_if(Fonts->begin(), Fonts->end(), [&fileName](const QRFont* font) {
        return font->FileName == fileName && font->IsLoaded() && font->Texture != nullptr &&
               font->Texture->GLName != 0;
    });
    return found == Fonts->end() ? nullptr : *found;
}

QRFont* GLFont::FindFont(const std::string& name) const
{
    const auto found = std::find_if(Fonts->begin(), Fonts->end(), [&name](const QRFont* font) {
        return font->GetName() == name;
    });
    return found == Fonts->end() ? nullptr : *found;
}

float GLFont::TextWidth(const QRFont* font, const std::string& text, float size)
{
    float width = 0.0f;
    for (const char c : Latin1Glyphs(text))
        width += font->CharWidths[static_cast<unsigned char>(c)];
    return width * 0.5f * size;
}

int GLFont::BlendModeOf(const QRFont* font)
{
    return font->Negative == 1 ? kNegativeBlend : kAdditiveBlend;
}

void GLFont::ApplyFontMaterial(QRFont* font, float alpha, const QXColor& colour)
{
    GLMaterialEngine* materials = GL()->MaterialEngine;
    materials->ResetMaterial();
    materials->SetUnlit();
    materials->SetBlendColor(BlendModeOf(font), colour, alpha);
    materials->AddTexturePass(font->Texture);
    materials->ApplyMaterial();
}

void GLFont::DrawText(QRFont* font, int alignment, const std::string& text, float size, float alpha,
                      const QXColor& colour, float y, float x) const
{
    ApplyFontMaterial(font, alpha, colour);
    GL_2DSystem* system = GL()->System2D;
    ForEachGlyph(font, alignment, text, size, x, [&](unsigned char code, float middle) {
        system->DrawCell(kGlyphHalfSize * size, middle, y, kCell, kCell, code % QRFont::kGridSize,
                         code / QRFont::kGridSize);
    });
}

void GLFont::DeleteFont(int index)
{
    Fonts->DestroyAt(index);
}

void GLFont::DeleteFonts(const QOXObject* owner)
{
    Fonts->DestroyItemsOwnedBy(owner == this ? nullptr : owner);
}

void GLFont::ChildRemoved(QOXObject* child)
{
    ForgetChild(Fonts, child);
}
