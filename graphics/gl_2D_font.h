#pragma once
// The font engine: owns the fonts, finds them by name, measures and draws strings in 2D. Texts are
// UTF-8; each character is drawn with the glyph of its Latin-1 code, "?" for those the font's code
// page lacks. Each character advances the pen by its width x size x 0.5, half before and half
// after its glyph, so glyph cells overlap freely.
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"
#include "resources/resource_list.h"

class QRFont;

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

    static float TextWidth(const QRFont* font, const std::string& text, float size);
    void DrawText(QRFont* font, int alignment, const std::string& text, float size, float alpha,
                  const QXColor& colour, float y, float x) const;

    QRList<QRFont>* Fonts = nullptr; // owned as a child; the register of the fonts, also children

protected:
    void ChildRemoved(QOXObject* child) override;

private:
    static void ApplyFontMaterial(QRFont* font, float alpha, const QXColor& colour);
};
