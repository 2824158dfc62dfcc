#include "tests/support/image_files.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

} // namespace

std::string EncodeBmp(int width, int height, const Pixels& rgb)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride * height);
    std::string out = "BM";
    PutLittleEndian(out, 54 + pixelBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, pixelBytes, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>((y * width + x) * 3);
            row += static_cast<char>(rgb[i + 2]);
            row += static_cast<char>(rgb[i + 1]);
            row += static_cast<char>(rgb[i]);
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        out += row;
    }
    return out;
}

std::string EncodeTga(int width, int height, int bitsPerPixel, const Pixels& stored)
{
    std::string out(18, '\0');
    out[2] = static_cast<char>(bitsPerPixel == 8 ? 3 : 2);
    out[12] = static_cast<char>(width & 0xFF);
    out[13] = static_cast<char>(width >> 8);
    out[14] = static_cast<char>(height & 0xFF);
    out[15] = static_cast<char>(height >> 8);
    out[16] = static_cast<char>(bitsPerPixel);
    out.append(stored.begin(), stored.end());
    return out;
}

std::string EncodePng(int width, int height, int components, const Pixels& pixels)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode the PNG test picture");
    }
    png_set_write_fn(png, &out, AppendToString, NoFlush);
    const int colourType = components == 1   ? PNG_COLOR_TYPE_GRAY
                           : components == 4 ? PNG_COLOR_TYPE_RGBA
                                             : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + static_cast<std::size_t>(y * width * components));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string EncodeJpeg(int width, int height, const Pixels& pixels, const JpegOptions& options)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = options.Components;
    info.in_color_space = options.Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.Quality, TRUE);
    if (options.Components == 3)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = options.LumaSampling;
    if (options.Progressive)
        jpeg_simple_progression(&info);
    info.arith_code = options.Arithmetic ? TRUE : FALSE;
    info.restart_in_rows = options.RestartRows;
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowSize = static_cast<std::size_t>(width) * static_cast<std::size_t>(options.Components);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(pixels.data() + static_cast<std::size_t>(info.next_scanline) * rowSize);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

Pixels Filled(int width, int height, const Pixels& colour)
{
    Pixels out;
    for (int i = 0; i < width * height; ++i)
        out.insert(out.end(), colour.begin(), colour.end());
    return out;
}
