// BMP through stb_image. Only uncompressed pixels (with or without colour masks) are read; every
// other compression code is refused here, since stb_image lets unknown ones through. stb_image
// reads missing bytes as zeros, so the size the header promises for the pixels is checked against
// the file first: a truncated file is refused rather than shown with a black tail.
#include <cstring>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 65535
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include "resources/image_decoders.h"

namespace {

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kColourMasks = 3;

std::uint32_t LittleEndian(const std::vector<std::uint8_t>& file, std::size_t offset, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | file[offset + static_cast<std::size_t>(i)];
    return value;
}

std::int64_t SignedWord(const std::vector<std::uint8_t>& file, std::size_t offset)
{
    return static_cast<std::int32_t>(LittleEndian(file, offset, 4));
}

bool IsReadableDepth(std::int64_t bitsPerPixel)
{
    for (const int depth : {1, 4, 8, 16, 24, 32}) {
        if (bitsPerPixel == depth)
            return true;
    }
    return false;
}

// Empty when the pixels are uncompressed and the file holds every byte its header promises; else
// the reason.
std::string CheckPixelBytes(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
        return "not a BMP file";
    const std::uint32_t headerSize = LittleEndian(file, 14, 4);
    const bool core = headerSize == 12;
    if (!core && file.size() < 34)
        return "the file ends too early";
    // The full header's sizes are signed (a negative height stores the rows top first).
    const std::int64_t width = core ? std::int64_t{LittleEndian(file, 18, 2)} : SignedWord(file, 18);
    const std::int64_t rawHeight = core ? std::int64_t{LittleEndian(file, 20, 2)} : SignedWord(file, 22);
    const std::int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    const std::int64_t bitsPerPixel = LittleEndian(file, core ? 24 : 28, 2);
    const std::uint32_t compression = core ? 0 : LittleEndian(file, 30, 4);
    const std::string size = CheckImageSize(width, height, 3);
    if (!size.empty())
        return size;
    if (compression != kUncompressed && compression != kColourMasks)
        return "unsupported BMP compression " + std::to_string(compression);
    if (!IsReadableDepth(bitsPerPixel))
        return "unsupported BMP depth of " + std::to_string(bitsPerPixel) + " bits";
    const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t end = std::int64_t{LittleEndian(file, 10, 4)} + stride * height;
    if (end > static_cast<std::int64_t>(file.size()))
        return "the file ends too early";
    return std::string();
}

} // namespace

DecodedImage DecodeBmp(const std::vector<std::uint8_t>& file)
{
    const std::string refused = CheckPixelBytes(file);
    if (!refused.empty())
        return FailedImage(refused);
    const int length = static_cast<int>(file.size());
    int width = 0;
    int height = 0;
    int components = 0;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), length, &width, &height, &components, 3);
    if (pixels == nullptr)
        return FailedImage(stbi_failure_reason());
    DecodedImage image;
    image.Width = width;
    image.Height = height;
    image.Components = 3;
    image.Pixels.assign(pixels, pixels + image.RowSize() * static_cast<std::size_t>(height));
    stbi_image_free(pixels);
    return image;
}
