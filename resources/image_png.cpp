// PNG through libpng, read from memory. libpng reports errors by jumping back to the setjmp point;
// limits on the picture size are checked before any row memory is taken.
#include <csetjmp>
#include <cstring>

#include <png.h>

#include "resources/image_decoders.h"

namespace {

// Lives in the frame that calls setjmp, so a jump back skips no destructor.
struct MemoryReader {
    const std::vector<std::uint8_t>* File = nullptr;
    std::size_t Position = 0;
    std::string Error;
    std::vector<png_bytep> Rows;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->File->size() - reader->Position)
        png_error(png, "the file ends too early");
    std::memcpy(target, reader->File->data() + reader->Position, count);
    reader->Position += count;
}

void KeepError(png_structp png, png_const_charp message)
{
    auto* reader = static_cast<MemoryReader*>(png_get_error_ptr(png));
    reader->Error = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit grey, RGB or RGBA rows.
void NormaliseSamples(png_structp png, png_infop info)
{
    const int colourType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA ||
        (colourType == PNG_COLOR_TYPE_GRAY && png_get_valid(png, info, PNG_INFO_tRNS)))
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Everything that must survive a jump back lives in `image`.
void ReadPicture(png_structp png, png_infop info, MemoryReader& reader, DecodedImage& image)
{
    png_read_info(png, info);
    image.Error = CheckImageSize(png_get_image_width(png, info), png_get_image_height(png, info));
    if (!image.Error.empty())
        return;
    NormaliseSamples(png, info);
    image.Width = static_cast<int>(png_get_image_width(png, info));
    image.Height = static_cast<int>(png_get_image_height(png, info));
    image.Components = png_get_channels(png, info);
    if (png_get_rowbytes(png, info) != image.RowSize()) {
        image.Error = "unsupported sample layout";
        return;
    }
    image.Pixels.resize(image.RowSize() * static_cast<std::size_t>(image.Height));
    reader.Rows.resize(static_cast<std::size_t>(image.Height));
    for (std::size_t y = 0; y < reader.Rows.size(); ++y)
        reader.Rows[y] = image.Pixels.data() + y * image.RowSize();
    png_read_image(png, reader.Rows.data());
    png_read_end(png, nullptr);
}

} // namespace

DecodedImage DecodePng(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0)
        return FailedImage("not a PNG file");
    MemoryReader reader{&file, 0, {}, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, KeepError, IgnoreWarning);
    if (png == nullptr)
        return FailedImage("the PNG library could not start");
    png_infop info = png_create_info_struct(png);
    DecodedImage image;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return FailedImage(reader.Error.empty() ? "the PNG library failed" : reader.Error);
    }
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_read_fn(png, &reader, ReadFromMemory);
    ReadPicture(png, info, reader, image);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!image.Ok())
        return FailedImage(image.Error);
    return image;
}
