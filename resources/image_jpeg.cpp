// JPEG through libjpeg. libjpeg ends the process on a fatal error unless its error manager jumps
// back out; every error and every warning (a truncated file is only a warning to libjpeg) jumps
// back here, so a damaged file is refused instead of decoded into grey. Before libjpeg takes memory
// for the picture, the header's size is checked against the limits and against the coded bytes
// that follow it.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "resources/image_decoders.h"

namespace {

// Every 8 x 8 block of every component costs at least one bit of Huffman-coded data.
constexpr std::int64_t kBlocksPerByte = 8;
// libjpeg's own memory for the largest accepted picture: a progressive file keeps every block's
// coefficients (128 bytes a block, up to 2 blocks a pixel in 4:4:4) until the last scan.
constexpr long kLibraryMemory = static_cast<long>(3 * kMaxImageBytes);

struct JumpingErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Return;
    char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void JumpBack(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Return, 1);
}

void WarningsAreErrors(j_common_ptr info, int level)
{
    if (level < 0)
        JumpBack(info);
}

std::int64_t CodedBlocks(const jpeg_decompress_struct& info)
{
    std::int64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += std::int64_t{info.comp_info[i].width_in_blocks} * info.comp_info[i].height_in_blocks;
    return blocks;
}

// Empty when the picture the header describes may be decoded, else the reason. Arithmetic coding
// can code a block in less than a bit, so only the limits hold for it.
std::string CheckHeader(const jpeg_decompress_struct& info)
{
    std::string refused = CheckImageSize(info.image_width, info.image_height, 3);
    if (refused.empty() && !info.arith_code)
        refused = CheckCodedSize(CodedBlocks(info), static_cast<std::int64_t>(info.src->bytes_in_buffer),
                                 kBlocksPerByte);
    return refused;
}

// Runs the decompressor; everything that must survive a jump back lives in `image` and `info`.
bool Decompress(jpeg_decompress_struct& info, DecodedImage& image)
{
    jpeg_read_header(&info, TRUE);
    image.Error = CheckHeader(info);
    if (!image.Error.empty())
        return false;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        image.Error = "unsupported colour space";
        return false;
    }
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    image.Components = 3;
    image.Pixels.resize(image.RowSize() * static_cast<std::size_t>(image.Height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Pixels.data() + image.RowSize() * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

DecodedImage DecodeJpeg(const std::vector<std::uint8_t>& file)
{
    if (file.empty())
        return FailedImage("the file is empty");
    DecodedImage image;
    jpeg_decompress_struct info{};
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = JumpBack;
    errors.Base.emit_message = WarningsAreErrors;
    if (setjmp(errors.Return) != 0) {
        jpeg_destroy_decompress(&info);
        return FailedImage(errors.Message);
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kLibraryMemory;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    const bool decoded = Decompress(info, image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        return FailedImage(image.Error);
    return image;
}
