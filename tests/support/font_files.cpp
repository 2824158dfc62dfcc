#include "tests/support/font_files.h"

#include <cstdio>

#include "tests/support/image_files.h"

namespace {

constexpr int kPictureSize = 256;
constexpr int kCellSize = 16;

} // namespace

std::string WidthsFileText(const std::array<int, 256>& widths)
{
    std::string text = "A test font\n[FONT_CHARWIDTH]\n";
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            char number[4];
            std::snprintf(number, sizeof number, "%02d", widths[static_cast<std::size_t>(row * 16 + column)] % 100);
            text += number;
            text += column < 15 ? " " : "\n";
        }
    }
    return text;
}

void WriteTestFont(const TempFolder& folder, const std::string& name, const std::string& whiteGlyphs,
                   const std::array<int, 256>& widths)
{
    Pixels picture = Filled(kPictureSize, kPictureSize, {0, 0, 0});
    for (const char glyph : whiteGlyphs) {
        const int code = static_cast<unsigned char>(glyph);
        const int left = (code % 16) * kCellSize;
        const int top = (code / 16) * kCellSize;
        for (int y = top; y < top + kCellSize; ++y)
            for (int x = left; x < left + kCellSize; ++x)
                for (int c = 0; c < 3; ++c)
                    picture[static_cast<std::size_t>((y * kPictureSize + x) * 3 + c)] = 255;
    }
    folder.Write(name + ".png", EncodePng(kPictureSize, kPictureSize, 3, picture));
    folder.Write(name + ".txt", WidthsFileText(widths));
}
