// The pictures committed under data/textures/ as the texture loader and the font engine read them.
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string kTextures = ORBIVANE_TEXTURES_FOLDER;
constexpr int kCell = 32;      // texels per glyph cell in the 512-texel font sheet
constexpr int kCellUnits = 26; // width units of one cell

struct PngHeader {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    int BitDepth = 0;
    int ColourType = -1; // 2 RGB, 6 RGBA
};

std::uint32_t BigEndian(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return (std::uint32_t{bytes[at]} << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
}

PngHeader ReadPngHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes(26);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::string chunk(bytes.begin() + 12, bytes.begin() + 16);
    if (!file || bytes[1] != 'P' || chunk != "IHDR")
        return {};
    return {BigEndian(bytes, 16), BigEndian(bytes, 20), bytes[24], bytes[25]};
}

bool IsPowerOfTwo(std::uint32_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

bool IsPrintable(int code)
{
    return (code >= 32 && code < 127) || code >= 160;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// The table as the font loader reads it: two digits at every third position of a row.
std::array<int, 256> ParseWidths(const std::vector<std::string>& rows)
{
    std::array<int, 256> widths{};
    widths.fill(-1);
    for (std::size_t row = 0; row < rows.size() && row < 16; ++row) {
        for (std::size_t column = 0; column < 16 && column * 3 + 2 <= rows[row].size(); ++column) {
            const std::string number = rows[row].substr(column * 3, 2);
            if (std::isdigit(static_cast<unsigned char>(number[0])) &&
                std::isdigit(static_cast<unsigned char>(number[1])))
                widths[row * 16 + column] = std::stoi(number);
        }
    }
    return widths;
}

QImage FontSheet()
{
    return QImage(QString::fromStdString(kTextures + "fonts/default.png")).convertToFormat(QImage::Format_RGBA8888);
}

// Ink columns of one glyph cell: the leftmost and rightmost column holding any ink, or -1, -1.
std::pair<int, int> InkColumns(const QImage& sheet, int code)
{
    const int x0 = (code % 16) * kCell;
    const int y0 = (code / 16) * kCell;
    int first = -1;
    int last = -1;
    for (int x = 0; x < kCell; ++x) {
        for (int y = 0; y < kCell; ++y) {
            if (qAlpha(sheet.pixel(x0 + x, y0 + y)) > 0) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
    }
    return {first, last};
}

TEST(CommittedPictures, EachNameHasOnePngOfPowerOfTwoSidesWithAlphaWhereItIsDrawnBlendedOrCutOut)
{
    struct Expected {
        const char* Name;
        bool Alpha;
    };
    const Expected pictures[] = {
        {"element", false},  {"root", false},  {"picked", true}, {"selected", true},
        {"bg", false},       {"banana", true}, {"arrow", true},  {"icon", true},
        {"fonts/default", true},
    };
    for (const Expected& picture : pictures) {
        SCOPED_TRACE(picture.Name);
        const std::string base = kTextures + picture.Name;
        for (const char* other : {".bmp", ".jpg", ".tga"})
            EXPECT_FALSE(std::filesystem::exists(base + other)) << "would be found before the PNG or beside it";
        const PngHeader header = ReadPngHeader(base + ".png");
        EXPECT_TRUE(IsPowerOfTwo(header.Width));
        EXPECT_TRUE(IsPowerOfTwo(header.Height));
        EXPECT_EQ(header.BitDepth, 8);
        EXPECT_EQ(header.ColourType, picture.Alpha ? 6 : 2);
    }
    EXPECT_EQ(ReadPngHeader(kTextures + "fonts/default.png").Width, 16u * kCell);
}

TEST(CommittedPictures, WidthsFileHoldsAFullTableOfAdvancesWithinTheCell)
{
    const std::vector<std::string> lines = ReadLines(kTextures + "fonts/default.txt");
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "[FONT_CHARWIDTH]");
    const std::vector<std::string> rows(lines.begin() + 1, lines.end());
    for (const std::string& row : rows)
        EXPECT_EQ(row.size(), 47u) << row;
    const std::array<int, 256> widths = ParseWidths(rows);
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        if (IsPrintable(code)) {
            EXPECT_GE(widths[code], 1);
            EXPECT_LE(widths[code], kCellUnits);
        } else {
            EXPECT_EQ(widths[code], 0);
        }
    }
    EXPECT_EQ(widths[' '], widths[0xA0]);
    EXPECT_EQ(widths['0'], widths['9']) << "figures share one advance";
    EXPECT_GT(widths['W'], widths['i']);
}

TEST(CommittedPictures, GlyphsStayInsideTheirCellsCentredOnTheirAdvance)
{
    const QImage sheet = FontSheet();
    ASSERT_EQ(sheet.width(), 16 * kCell);
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        const auto [first, last] = InkColumns(sheet, code);
        if (!IsPrintable(code) || code == ' ' || code == 0xA0) {
            EXPECT_EQ(first, -1) << "an empty cell";
            continue;
        }
        EXPECT_GE(first, 1) << "ink touches the cell's left edge";
        EXPECT_LE(last, kCell - 2) << "ink touches the cell's right edge";
        const int y0 = (code / 16) * kCell;
        for (int x = 0; x < kCell; ++x) {
            EXPECT_EQ(qAlpha(sheet.pixel((code % 16) * kCell + x, y0)), 0);
            EXPECT_EQ(qAlpha(sheet.pixel((code % 16) * kCell + x, y0 + kCell - 1)), 0);
        }
    }
    // Symmetric glyphs sit in the middle of the cell, where the engine puts the middle of the advance.
    for (const int code : {int{'I'}, int{'O'}, int{'o'}, int{'|'}, int{'H'}, 0xD7}) {
        const auto [first, last] = InkColumns(sheet, code);
        EXPECT_NEAR((first + last + 1) / 2.0, kCell / 2.0, 1.0) << static_cast<char>(code);
    }
}

TEST(CommittedPictures, GlyphInkIsInColourAsWellAsAlpha)
{
    const QImage sheet = FontSheet();
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb p = sheet.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qAlpha(p) && qGreen(p) == qAlpha(p) && qBlue(p) == qAlpha(p))
                << "texel " << x << ", " << y;
        }
    }
}

} // namespace
