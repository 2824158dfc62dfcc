#pragma once
// A bitmap font: one texture of 16 by 16 glyph cells (character code c in column c mod 16 and row
// c div 16, row 0 at the top) and the width of every glyph, read from the widths file beside the
// texture ("<name>.txt": a "[FONT_CHARWIDTH]" line, then up to 16 rows of 16 two-digit widths).
#include <array>
#include <cstdint>
#include <string>

#include "resources/resource_main.h"

class QRTexture;

inline constexpr ResourceKind kFontKind{"RESOURCE FONT", "Creating Font: ", "Deleting Font: ",
                                        ResourceKind::Naming::FileNameOnly};

class QRFont : public QOXResource {
    QOX_CLASS(QRFont)
public:
    static constexpr int kGlyphs = 256;
    static constexpr int kGridSize = 16;

    QRFont(const std::string& fileName, int filter, QOXObject* owner);

    // The font is loaded once its widths are read; without a widths file (or with one that is
    // refused) it keeps its texture but stays empty, with every width 0.
    void Load(const std::string& fileName) override;
    // What the loaded font `source` holds, its texture copied rather than made from the file again.
    void LoadCopyOf(const QRFont& source);
    void SetFilter(int mode);
    void SetNegative(int value) { Negative = value; }

    QRTexture* Texture = nullptr; // owned; the glyph texture
    std::array<std::uint8_t, kGlyphs> CharWidths{};
    int Negative = 0; // 1 draws with the "NEGATIVE" blend mode, else "ADDITIVE"
    int Filter = 1;

protected:
    void ReleaseData() override;

private:
    void ReleaseTexture();
    // False, with the file reported, when the widths file was refused.
    bool ReadWidths(const std::string& path);
    void ReadWidthsRow(const std::string& line, int row);
};
