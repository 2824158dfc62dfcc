// The engine's own TGA reader: uncompressed true-colour and grey pictures. The 18-byte header gives
// the size and depth; an image identification field, when present, is skipped. Compressed and
// colour-mapped files are refused, as are files shorter than their pixels.
#include "resources/image_decoders.h"

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kTrueColour = 2;
constexpr std::uint8_t kGrey = 3;

int Word(const std::vector<std::uint8_t>& file, std::size_t offset)
{
    return file[offset] | (file[offset + 1] << 8);
}

} // namespace

DecodedImage DecodeTga(const std::vector<std::uint8_t>& file)
{
    if (file.size() < kHeaderSize)
        return FailedImage("the file ends too early");
    const std::uint8_t identificationLength = file[0];
    const std::uint8_t imageType = file[2];
    if (imageType != kTrueColour && imageType != kGrey)
        return FailedImage("only uncompressed true-colour or grey TGA files are read");
    const int bits = file[16];
    if (bits != 8 && bits != 24 && bits != 32)
        return FailedImage("unsupported TGA depth of " + std::to_string(bits) + " bits");
    DecodedImage image;
    image.Width = Word(file, 12);
    image.Height = Word(file, 14);
    image.Components = bits / 8;
    const std::string size = CheckImageSize(image.Width, image.Height, image.Components);
    if (!size.empty())
        return FailedImage(size);
    const std::size_t start = kHeaderSize + identificationLength;
    const std::size_t length = image.RowSize() * static_cast<std::size_t>(image.Height);
    if (file.size() < start || file.size() - start < length)
        return FailedImage("the file ends too early");
    image.Pixels.assign(file.begin() + static_cast<std::ptrdiff_t>(start),
                        file.begin() + static_cast<std::ptrdiff_t>(start + length));
    return image;
}
