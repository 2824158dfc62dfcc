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

// A picture may decode to at most 256 MiB (a 5472 x 3648 photo takes 57 MiB) with sides of at most
// 65535, the largest the formats' 16-bit fields give; textures are scaled down to what GL accepts.
inline constexpr int kMaxImageSide = 65535;
inline constexpr std::int64_t kMaxImageBytes = std::int64_t{256} << 20;

// Empty when a picture of this size decodes within the limits, else the reason for refusing it.
std::string CheckImageSize(std::int64_t width, std::int64_t height, int components);
// Empty when `codedBytes` of coded data can hold `units` (bytes or blocks the picture decodes
// to), given that the format's coding yields at most `unitsPerByte` of them per byte; else the
// reason. A header that lies about the picture's size is refused this way before any pixel
// memory is taken.
std::string CheckCodedSize(std::int64_t units, std::int64_t codedBytes, std::int64_t unitsPerByte);
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

// Halves the picture along each side longer than `largestSide`, each new pixel the average of
// the two (or four) it replaces, until both sides fit.
void HalveUntilWithin(std::vector<std::uint8_t>& pixels, int& width, int& height, int components, int largestSide);
// Reverses the order of the rows in place.
void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowSize, int rows);
// Exchanges the first and third byte of every pixel (BGR <-> RGB).
void SwapRedBlue(std::vector<std::uint8_t>& pixels, int components);
