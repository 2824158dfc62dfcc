// Writes the picture seeds of the fuzz targets: small valid files of every kind each decoder
// takes. Usage: orbivane_fuzz_corpus CORPUS_DIR (the committed seeds are its output).
#include <csetjmp>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <png.h>

#include "tests/support/image_files.h"

namespace {

using Bytes = Pixels;
constexpr int kSide = 12; // small enough for quick runs, not a multiple of 8 (partial blocks)

// A picture with a gradient in every channel, so that no decoder can get it right by chance.
Bytes Gradient(int width, int height, int components)
{
    Bytes pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                pixels.push_back(static_cast<std::uint8_t>((x * 20 + y * 9 + c * 70) & 0xFF));
    return pixels;
}

void Save(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct BmpKind {
    const char* Name;
    int Bits;
    std::uint32_t Compression; // 0 plain, 3 colour masks
    bool TopDown;
    bool CoreHeader; // the 12-byte header of the oldest BMP files
};

std::string Bmp(const BmpKind& kind)
{
    const int paletteEntries = kind.Bits <= 8 ? 1 << kind.Bits : 0;
    const int entryBytes = kind.CoreHeader ? 3 : 4;
    const int headerBytes = kind.CoreHeader ? 12 : 40;
    const int masksBytes = kind.Compression == 3 ? 12 : 0;
    const int stride = (kSide * kind.Bits + 31) / 32 * 4;
    const int offset = 14 + headerBytes + masksBytes + paletteEntries * entryBytes;
    std::string out = "BM";
    Put(out, static_cast<std::uint32_t>(offset + stride * kSide), 4);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(offset), 4);
    Put(out, static_cast<std::uint32_t>(headerBytes), 4);
    if (kind.CoreHeader) {
        Put(out, kSide, 2);
        Put(out, kSide, 2);
    } else {
        Put(out, kSide, 4);
        Put(out, static_cast<std::uint32_t>(kind.TopDown ? -kSide : kSide), 4);
    }
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(kind.Bits), 2);
    if (!kind.CoreHeader) {
        Put(out, kind.Compression, 4);
        Put(out, static_cast<std::uint32_t>(stride * kSide), 4);
        Put(out, 2835, 4);
        Put(out, 2835, 4);
        Put(out, static_cast<std::uint32_t>(paletteEntries), 4);
        Put(out, 0, 4);
    }
    if (masksBytes != 0) {
        const bool sixteen = kind.Bits == 16;
        Put(out, sixteen ? 0xF800 : 0xFF0000, 4);
        Put(out, sixteen ? 0x07E0 : 0x00FF00, 4);
        Put(out, sixteen ? 0x001F : 0x0000FF, 4);
    }
    for (int i = 0; i < paletteEntries; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (paletteEntries - 1));
        out += static_cast<char>(level);
        out += static_cast<char>(255 - level);
        out += static_cast<char>(level / 2);
        if (!kind.CoreHeader)
            out += '\0';
    }
    const Bytes noise = Gradient(stride, kSide, 1);
    out.append(noise.begin(), noise.end());
    return out;
}

std::string Tga(int bits, int identificationLength)
{
    std::string out;
    out += static_cast<char>(identificationLength);
    out += '\0';
    out += static_cast<char>(bits == 8 ? 3 : 2);
    out.append(9, '\0');
    Put(out, kSide, 2);
    Put(out, kSide, 2);
    out += static_cast<char>(bits);
    out += static_cast<char>(bits == 32 ? 8 : 0);
    out.append(static_cast<std::size_t>(identificationLength), 'i');
    const Bytes pixels = Gradient(kSide, kSide, bits / 8);
    out.append(pixels.begin(), pixels.end());
    return out;
}

struct PngKind {
    const char* Name;
    int ColourType;
    int BitDepth;
    bool Interlaced;
    bool Transparency;
};

void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

void SetTransparency(png_structp png, png_infop info, const PngKind& kind)
{
    if (kind.ColourType == PNG_COLOR_TYPE_PALETTE) {
        png_byte alpha[4] = {0, 64, 128, 255};
        png_set_tRNS(png, info, alpha, 4, nullptr);
    } else {
        png_color_16 colour{};
        colour.gray = 1;
        colour.red = colour.green = colour.blue = 1;
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
}

std::string Png(const PngKind& kind)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0)
        std::abort();
    png_set_write_fn(png, &out, AppendToString, NoFlush);
    png_set_IHDR(png, info, kSide, kSide, kind.BitDepth, kind.ColourType,
                 kind.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (kind.ColourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[16];
        for (int i = 0; i < 16; ++i)
            palette[i] = {static_cast<png_byte>(i * 16), static_cast<png_byte>(255 - i * 16), 90};
        png_set_PLTE(png, info, palette, 1 << std::min(kind.BitDepth, 4));
    }
    if (kind.Transparency)
        SetTransparency(png, info, kind);
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_zTXt;
    text.key = const_cast<char*>("Comment");
    text.text = const_cast<char*>("a seed");
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    const int rowBytes = static_cast<int>(png_get_rowbytes(png, info));
    Bytes pixels = Gradient(rowBytes, kSide, 1);
    // Palette indices must name entries that exist.
    if (kind.ColourType == PNG_COLOR_TYPE_PALETTE && kind.BitDepth == 8)
        for (auto& index : pixels)
            index &= 0x0F;
    std::vector<png_bytep> rows;
    for (int y = 0; y < kSide; ++y)
        rows.push_back(pixels.data() + static_cast<std::size_t>(y * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct JpegKind {
    const char* Name;
    JpegOptions Options;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const BmpKind bmps[] = {{"rgb24", 24, 0, false, false},   {"rgb24-top-down", 24, 0, true, false},
                            {"rgb32-masks", 32, 3, false, false}, {"rgb16-masks", 16, 3, false, false},
                            {"rgb16", 16, 0, false, false},   {"palette8", 8, 0, false, false},
                            {"palette4", 4, 0, false, false}, {"palette1", 1, 0, false, false},
                            {"core24", 24, 0, false, true},   {"core-palette8", 8, 0, false, true}};
    for (const BmpKind& kind : bmps)
        Save(dir + "bmp/" + kind.Name + ".bmp", Bmp(kind));
    Save(dir + "tga/rgb24.tga", Tga(24, 0));
    Save(dir + "tga/rgba32.tga", Tga(32, 0));
    Save(dir + "tga/grey8.tga", Tga(8, 0));
    Save(dir + "tga/rgb24-identified.tga", Tga(24, 5));
    const PngKind pngs[] = {{"grey8", PNG_COLOR_TYPE_GRAY, 8, false, false},
                            {"grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
                            {"grey4-transparent", PNG_COLOR_TYPE_GRAY, 4, false, true},
                            {"grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
                            {"grey-alpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
                            {"rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
                            {"rgb8-interlaced", PNG_COLOR_TYPE_RGB, 8, true, false},
                            {"rgb16-transparent", PNG_COLOR_TYPE_RGB, 16, false, true},
                            {"rgba8", PNG_COLOR_TYPE_RGBA, 8, false, false},
                            {"palette2", PNG_COLOR_TYPE_PALETTE, 2, false, false},
                            {"palette8-transparent", PNG_COLOR_TYPE_PALETTE, 8, true, true}};
    for (const PngKind& kind : pngs)
        Save(dir + "png/" + kind.Name + ".png", Png(kind));
    const JpegKind jpegs[] = {{"baseline-420", {3, 75, false, false, 0, 2}}, {"baseline-444", {3, 75, false, false, 0, 1}},
                              {"grey", {1, 75, false, false, 0, 1}},         {"progressive", {3, 75, true, false, 0, 2}},
                              {"arithmetic", {3, 75, false, true, 0, 2}},    {"restarts", {3, 75, false, false, 1, 2}}};
    for (const JpegKind& kind : jpegs) {
        const Pixels pixels = Gradient(kSide, kSide, kind.Options.Components);
        Save(dir + "jpeg/" + kind.Name + ".jpg", EncodeJpeg(kSide, kSide, pixels, kind.Options));
    }
    return 0;
}
