#pragma once
// The font engine: owns the fonts, finds them by name, measures and draws strings in 2D. Texts are
// UTF-8; each character is drawn with the glyph of its Latin-1 code, "?" for those the font's code
// page lacks. Each character advances the pen by its width x size x 0.5, half before and half
// after its glyph, so glyph cells overlap freely.
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "resources/resource_font.h"
#include "resources/resource_list.h"

enum TextAlignment : int { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// The Latin-1 codes of a UTF-8 text; "?" for characters beyond Latin-1 and for broken sequences.
std::string Latin1Glyphs(const std::string& utf8);

class GLFont : public QOXObject {
    QOX_CLASS(GLFont)
public:
    explicit GLFont(QOXObject* owner);

    void Init();
    // A new font owned by the engine, loaded from the file name and given the name.
    QRFont* CreateFont(const std::string& fileName, const std::string& name);
    QRFont* FindFont(const std::string& name) const;
    void DeleteFont(int index);
    // From the last font to the first, deletes every font whose parent is `owner`; the engine
    // itself as owner deletes all.
    void DeleteFonts(const QOXObject* owner);

    static constexpr float kGlyphHalfSize = 6.5f; // a glyph's quad, in units of the text size

    static float TextWidth(const QRFont* font, const std::string& text, float size);
    void DrawText(QRFont* font, int alignment, const std::string& text, float size, float alpha,
                  const QXColor& colour, float y, float x) const;
    // Calls visit(code, x) for every glyph of the text, aligned on x, as DrawText places it: x is
    // the middle of the glyph's advance, where its quad is centred.
    template <class Visit>
    static void ForEachGlyph(const QRFont* font, int alignment, const std::string& text, float size, float x,
                             Visit visit);
    // The blend mode the font draws with: "NEGATIVE" for a font marked negative, else "ADDITIVE".
    static int BlendModeOf(const QRFont* font);
    // The unlit working material of the font's blend mode, colour and alpha, with its glyph texture.
    static void ApplyFontMaterial(QRFont* font, float alpha, const QXColor& colour);

    QRList<QRFont>* Fonts = nullptr; // owned as a child; the register of the fonts, also children

protected:
    void ChildRemoved(QOXObject* child) override;

private:
    // A loaded font made from the file, with a texture, or null.
    const QRFont* LoadedFrom(const std::string& fileName) const;
};

template <class Visit>
void GLFont::ForEachGlyph(const QRFont* font, int alignment, const std::string& text, float size, float x, Visit visit)
{
    const float width = TextWidth(font, text, size);
    if (alignment == AlignRight)
        x -= width;
    else if (alignment == AlignCentre)
        x -= width / 2.0f;
    for (const char c : Latin1Glyphs(text)) {
        const auto code = static_cast<unsigned char>(c);
        const float advance = static_cast<float>(font->CharWidths[code]) * size * 0.5f / 2.0f;
        x += advance;
        visit(code, x);
        x += advance;
    }
}
