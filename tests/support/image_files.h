#pragma once
// Encoders for the picture files tests feed the engine: each returns the whole file as bytes, to be
// written with TempFolder::Write. Pixels are given top row first, tightly packed.
#include <cstdint>
#include <string>
#include <vector>

using Pixels = std::vector<std::uint8_t>;

// 24-bit uncompressed BMP (stored bottom row first, as BMP files are); `rgb` is red, green, blue.
std::string EncodeBmp(int width, int height, const Pixels& rgb);
// Uncompressed TGA; `stored` are the pixel bytes exactly as they go into the file (blue, green,
// red[, alpha] for colour), rows in file order.
std::string EncodeTga(int width, int height, int bitsPerPixel, const Pixels& stored);
// PNG with 1 (grey), 3 (RGB) or 4 (RGBA) components.
std::string EncodePng(int width, int height, int components, const Pixels& pixels);
// How a JPEG test file is coded; the defaults give a baseline RGB file at the best quality.
struct JpegOptions {
    int Components = 3; // 1 grey, 3 RGB
    int Quality = 100;
    bool Progressive = false;
    bool Arithmetic = false;
    int RestartRows = 0;  // rows of blocks between restart markers; 0 none
    int LumaSampling = 2; // 2 keeps colour at half the resolution of brightness, 1 at the same
};
std::string EncodeJpeg(int width, int height, const Pixels& pixels, const JpegOptions& options = {});

// A picture whose every pixel is the colour (3 or 4 bytes).
Pixels Filled(int width, int height, const Pixels& colour);
