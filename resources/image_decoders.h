#pragma once
// Decoders of the four picture formats the engine reads. Each takes the whole file in memory and
// either yields tightly packed 8-bit pixel rows, top row first, or refuses the file with a reason:
// corrupt or truncated data never ends the process, is never read past its end, and a header that
// claims a giant picture is refused before any pixel memory is taken.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedImage {
    int Width = 0;
    int Height = 0;
    int Components = 0;              // bytes per pixel: 1 grey/alpha, 3 RGB, 4 RGBA
    std::vector<std::uint8_t> Pixels; // Width x Height x Components, rows top row first
    std::string Error;               // empty when the picture was read

    bool Ok() const { return Error.empty(); }
    std::size_t RowSize() const { return static_cast<std::size_t>(Width) * static_cast<std::size_t>(Components); }
};

// Pictures larger than this are refused: the engine's textures are at most 4096 texels a side.
inline constexpr int kMaxImageSide = 8192;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{4096} * 4096;

// Empty when the size is acceptable, else the reason for refusing it.
std::string CheckImageSize(std::int64_t width, std::int64_t height);
DecodedImage FailedImage(const std::string& reason);

// RGB rows.
DecodedImage DecodeJpeg(const std::vector<std::uint8_t>& file);
// Grey (1), RGB (3) or RGBA (4) rows; palettes are expanded, 16-bit samples cut to 8 bits and
// grey with alpha widened to RGBA.
DecodedImage DecodePng(const std::vector<std::uint8_t>& file);
// RGB rows.
DecodedImage DecodeBmp(const std::vector<std::uint8_t>& file);
// Uncompressed true-colour (24 or 32 bits) or grey (8 bits) rows in file order with the bytes as
// stored (blue, green, red for colour); the origin bit is not looked at.
DecodedImage DecodeTga(const std::vector<std::uint8_t>& file);

// Reverses the order of the rows in place.
void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowSize, int rows);
// Exchanges the first and third byte of every pixel (BGR <-> RGB).
void SwapRedBlue(std::vector<std::uint8_t>& pixels, int components);
