#pragma once
// The default bitmap font: 256 Latin-1 glyphs in a 16 x 16 grid of square cells, row 0 at the top,
// and the width of every character in the units the font engine measures with.
//
// The font engine draws each glyph as a quad 13 units wide centred on the middle of the
// character's advance, and advances by width x 0.5 units: one cell is 26 width units. Each glyph
// is therefore placed with its advance box centred in its cell, so that the ink lands where the
// typeface puts it.
#include <QImage>
#include <QString>

#include <array>

constexpr int kGlyphGrid = 16;
constexpr int kCellWidthUnits = 26;

struct FontSheet {
    QImage Glyphs; // white ink in colour and alpha, on black and clear
    std::array<int, 256> Widths{};
    int PixelSize = 0; // the typeface's size in sheet pixels
};

// An empty sheet (no glyphs) when the font file cannot be loaded.
FontSheet PaintFontSheet(const QString& fontFile, int sheetSize);

// The widths file: the bracketed "FONT_CHARWIDTH" line, then 16 rows of 16 two-digit widths.
bool SaveCharWidths(const std::array<int, 256>& widths, const QString& path);
