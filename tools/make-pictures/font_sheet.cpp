#include "tools/make-pictures/font_sheet.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Empty texels kept round every glyph, so that linear filtering never picks up a neighbour's ink.
constexpr int kCellMargin = 2;

// Codes 0-31 and 127-159 are control characters in Latin-1: they have no glyph and no width.
bool IsPrintable(int code)
{
    return (code >= 32 && code < 127) || code >= 160;
}

// The soft hyphen is drawn as a hyphen: a label that holds one should show where it breaks.
QChar GlyphFor(int code)
{
    return code == 0xAD ? QChar('-') : QChar(code);
}

struct GlyphBox {
    qreal Advance = 0;
    QRectF Ink;
};

GlyphBox MeasureGlyph(const QFontMetricsF& metrics, int code)
{
    return {metrics.horizontalAdvance(GlyphFor(code)), metrics.boundingRect(GlyphFor(code))};
}

QFont MakeFont(const QString& family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    // Unhinted outlines keep the true advances; the texture is scaled on screen anyway.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setKerning(false);
    return font;
}

// Where the baseline lies in a cell so that the tallest accent and the deepest descender of the
// set fit, the whole block centred; -1 when they do not fit.
qreal BaselineInCell(const QFontMetricsF& metrics, qreal cell)
{
    qreal top = 0;
    qreal bottom = 0;
    for (int code = 0; code < 256; ++code) {
        if (!IsPrintable(code))
            continue;
        const QRectF ink = MeasureGlyph(metrics, code).Ink;
        top = std::min(top, ink.top());
        bottom = std::max(bottom, ink.bottom());
    }
    const qreal room = cell - 2 * kCellMargin;
    if (bottom - top > room)
        return -1;
    return std::round(kCellMargin + (room - (bottom - top)) / 2 - top);
}

bool EveryGlyphFitsAcross(const QFontMetricsF& metrics, qreal cell)
{
    for (int code = 0; code < 256; ++code) {
        if (!IsPrintable(code))
            continue;
        const GlyphBox box = MeasureGlyph(metrics, code);
        const qreal origin = (cell - box.Advance) / 2;
        if (origin + box.Ink.left() < kCellMargin || origin + box.Ink.right() > cell - kCellMargin)
            return false;
    }
    return true;
}

// The largest pixel size whose every glyph fits its cell.
int FittingPixelSize(const QString& family, int cell)
{
    for (int size = cell; size > 4; --size) {
        const QFontMetricsF metrics(MakeFont(family, size));
        if (BaselineInCell(metrics, cell) >= 0 && EveryGlyphFitsAcross(metrics, cell))
            return size;
    }
    return 4;
}

int WidthUnits(qreal advance, int cell)
{
    return std::clamp(static_cast<int>(std::lround(advance * kCellWidthUnits / cell)), 0, 99);
}

// The font's two blend modes read the glyph differently: "NEGATIVE" darkens by its colour,
// "ADDITIVE" adds its colour times its alpha. So the ink goes into colour and alpha alike, black
// and clear round it, each as the square root of the coverage: the added light then follows the
// coverage itself, and the drop shadow comes out a touch fuller.
QImage InkInColourAndAlpha(const QImage& coverage)
{
    QImage sheet(coverage.size(), QImage::Format_RGBA8888);
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            const double ink = std::sqrt(qAlpha(coverage.pixel(x, y)) / 255.0);
            const int level = static_cast<int>(std::lround(ink * 255));
            sheet.setPixel(x, y, qRgba(level, level, level, level));
        }
    }
    return sheet;
}

} // namespace

FontSheet PaintFontSheet(const QString& fontFile, int sheetSize)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0) {
        std::fprintf(stderr, "%s: not a font this machine can read\n", qPrintable(fontFile));
        return {};
    }
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    const int cell = sheetSize / kGlyphGrid;
    FontSheet sheet;
    sheet.PixelSize = FittingPixelSize(family, cell);
    const QFont font = MakeFont(family, sheet.PixelSize);
    const QFontMetricsF metrics(font);
    const qreal baseline = BaselineInCell(metrics, cell);

    QImage coverage(sheetSize, sheetSize, QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter painter(&coverage);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int code = 0; code < 256; ++code) {
        if (!IsPrintable(code))
            continue;
        const qreal advance = MeasureGlyph(metrics, code).Advance;
        const QPointF cellCorner((code % kGlyphGrid) * cell, (code / kGlyphGrid) * cell);
        painter.drawText(cellCorner + QPointF((cell - advance) / 2, baseline), QString(GlyphFor(code)));
        sheet.Widths[code] = WidthUnits(advance, cell);
    }
    painter.end();
    sheet.Glyphs = InkInColourAndAlpha(coverage);
    return sheet;
}

bool SaveCharWidths(const std::array<int, 256>& widths, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    QByteArray text = "[FONT_CHARWIDTH]\n";
    for (int row = 0; row < kGlyphGrid; ++row) {
        for (int column = 0; column < kGlyphGrid; ++column) {
            if (column > 0)
                text += ' ';
            text += QByteArray::number(widths[row * kGlyphGrid + column]).rightJustified(2, '0');
        }
        text += '\n';
    }
    return file.write(text) == text.size();
}
