// Writes the snapshot as an 8-bit RGB PNG file.
#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/snapshot/snapshot.h"

namespace snapshot {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::optional<std::string> WritePng(const std::string& path, const Picture& picture)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return "cannot write \"" + path + "\": " + std::strerror(errno);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return std::string("out of memory for the PNG encoder");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "cannot write \"" + path + "\": the PNG encoder failed";
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The fastest deflate, and one row filter instead of trying all five on every row: the picture
    // is written once and read by a test or a person, and the encoder took longer than drawing.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    const std::size_t row = static_cast<std::size_t>(picture.Width) * 3;
    for (int y = 0; y < picture.Height; ++y)
        png_write_row(png, picture.Rgb.data() + static_cast<std::size_t>(y) * row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0)
        return "cannot write \"" + path + "\": " + std::strerror(errno);
    return std::nullopt;
}

} // namespace snapshot
