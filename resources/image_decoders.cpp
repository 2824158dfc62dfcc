#include "resources/image_decoders.h"

#include <algorithm>
#include <utility>

std::string CheckImageSize(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return "the picture has no pixels";
    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
        return "the picture is too large (" + std::to_string(width) + "*" + std::to_string(height) + ")";
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
