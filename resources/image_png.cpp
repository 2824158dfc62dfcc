// PNG through libpng, read from memory. libpng reports errors by jumping back to the setjmp point.
// Before libpng sees the file, every chunk's length is checked against the bytes that are really
// there, so a lying length never makes it take memory; libpng's own memory for a chunk is capped
// too. Limits on the picture size, and on what its compressed data can hold, are checked before
// any row memory is taken.
#include <csetjmp>
#include <cstring>

#include <png.h>

#include "resources/image_decoders.h"

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kChunkFrameSize = 12; // length, type and checksum around the data
// Deflate writes at most 258 bytes with one length code and one distance code of a bit each.
constexpr std::int64_t kInflatedBytesPerByte = 1032;
// What libpng may take for one ancillary chunk, and how many of them it keeps.
constexpr png_alloc_size_t kMaxChunkMemory = png_alloc_size_t{8} << 20;
constexpr png_uint_32 kMaxKeptChunks = 128;

std::uint32_t BigEndian(const std::vector<std::uint8_t>& file, std::size_t offset)
{
    return (std::uint32_t{file[offset]} << 24) | (std::uint32_t{file[offset + 1]} << 16) |
           (std::uint32_t{file[offset + 2]} << 8) | file[offset + 3];
}

struct ChunkScan {
    std::string Error;         // empty when every chunk lies within the file
    std::int64_t ImageData = 0; // the bytes of all IDAT chunks
};

// Walks the chunks up to IEND (or the end of the file) without trusting any length.
ChunkScan ScanChunks(const std::vector<std::uint8_t>& file)
{
    ChunkScan scan;
    std::size_t position = kSignatureSize;
    while (file.size() - position >= kChunkFrameSize) {
        const std::uint32_t length = BigEndian(file, position);
        if (length > file.size() - position - kChunkFrameSize) {
            scan.Error = "a chunk is longer than the rest of the file";
            return scan;
        }
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(position + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(position + 8));
        if (type == "IDAT")
            scan.ImageData += length;
        if (type == "IEND")
            break;
        position += kChunkFrameSize + length;
    }
    return scan;
}

// Lives in the frame that calls setjmp, so a jump back skips no destructor.
struct MemoryReader {
    const std::vector<std::uint8_t>* File = nullptr;
    std::size_t Position = 0;
    std::string Error;
    std::vector<png_bytep> Rows;
    std::int64_t ImageData = 0; // compressed bytes of the picture, from ScanChunks
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
    const png_uint_32 height = png_get_image_height(png, info);
    image.Error = CheckImageSize(png_get_image_width(png, info), height, png_get_channels(png, info));
    if (image.Error.empty()) {
        // Each row is stored filtered: one filter byte, then the row's bytes as the file has them.
        const std::int64_t filtered = std::int64_t{height} * (std::int64_t{1} + png_get_rowbytes(png, info));
        image.Error = CheckCodedSize(filtered, reader.ImageData, kInflatedBytesPerByte);
    }
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
    image.Error = CheckImageSize(image.Width, image.Height, image.Components);
    if (!image.Error.empty())
        return;
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
    if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0)
        return FailedImage("not a PNG file");
    const ChunkScan chunks = ScanChunks(file);
    if (!chunks.Error.empty())
        return FailedImage(chunks.Error);
    MemoryReader reader{&file, 0, {}, {}, chunks.ImageData};
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
    png_set_chunk_malloc_max(png, kMaxChunkMemory);
    png_set_chunk_cache_max(png, kMaxKeptChunks);
    png_set_read_fn(png, &reader, ReadFromMemory);
    ReadPicture(png, info, reader, image);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!image.Ok())
        return FailedImage(image.Error);
    return image;
}
