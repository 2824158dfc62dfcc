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
// Baseline JPEG of RGB pixels at the best quality.
std::string EncodeJpeg(int width, int height, const Pixels& rgb);

// A picture whose every pixel is the colour (3 or 4 bytes).
Pixels Filled(int width, int height, const Pixels& colour);
