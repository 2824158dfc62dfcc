#include "resources/image_decoders.h"

#include <algorithm>
#include <utility>

std::string CheckImageSize(std::int64_t width, std::int64_t height, int components)
{
    if (width <= 0 || height <= 0)
        return "the picture has no pixels";
    if (width > kMaxImageSide || height > kMaxImageSide || width * height * components > kMaxImageBytes)
        return "the picture is too large (" + std::to_string(width) + "*" + std::to_string(height) + ")";
    return std::string();
}

std::string CheckCodedSize(std::int64_t units, std::int64_t codedBytes, std::int64_t unitsPerByte)
{
    if (units > codedBytes * unitsPerByte)
        return "the file is too small for its picture";
    return std::string();
}

DecodedImage FailedImage(const std::string& reason)
{
    DecodedImage image;
    image.Error = reason;
    return image;
}

void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowSize, int rows)
{
    if (rows < 2 || pixels.size() < rowSize * static_cast<std::size_t>(rows))
        return;
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        auto upper = pixels.begin() + static_cast<std::ptrdiff_t>(rowSize * static_cast<std::size_t>(top));
        auto lower = pixels.begin() + static_cast<std::ptrdiff_t>(rowSize * static_cast<std::size_t>(bottom));
        std::swap_ranges(upper, upper + static_cast<std::ptrdiff_t>(rowSize), lower);
    }
}

void SwapRedBlue(std::vector<std::uint8_t>& pixels, int components)
{
    if (components < 3)
        return;
    const std::size_t step = static_cast<std::size_t>(components);
    for (std::size_t i = 0; i + 2 < pixels.size(); i += step)
        std::swap(pixels[i], pixels[i + 2]);
}

namespace {

// One halving step: along x when `alongX`, else along y. An odd last column or row stays alone.
void Halve(std::vector<std::uint8_t>& pixels, int& width, int& height, int components, bool alongX)
{
    const int newWidth = alongX ? (width + 1) / 2 : width;
    const int newHeight = alongX ? height : (height + 1) / 2;
    const auto at = [&](int x, int y, int c) {
        return pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                          static_cast<std::size_t>(components) +
                      static_cast<std::size_t>(c)];
    };
    std::vector<std::uint8_t> halved(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight) *
                                     static_cast<std::size_t>(components));
    std::size_t out = 0;
    for (int y = 0; y < newHeight; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            const int x0 = alongX ? 2 * x : x;
            const int y0 = alongX ? y : 2 * y;
            const int x1 = alongX ? std::min(x0 + 1, width - 1) : x0;
            const int y1 = alongX ? y0 : std::min(y0 + 1, height - 1);
            for (int c = 0; c < components; ++c)
                halved[out++] = static_cast<std::uint8_t>((at(x0, y0, c) + at(x1, y1, c) + 1) / 2);
        }
    }
    pixels.swap(halved);
    width = newWidth;
    height = newHeight;
}

} // namespace

void HalveUntilWithin(std::vector<std::uint8_t>& pixels, int& width, int& height, int components, int largestSide)
{
    while (width > largestSide)
        Halve(pixels, width, height, components, true);
    while (height > largestSide)
        Halve(pixels, width, height, components, false);
}
