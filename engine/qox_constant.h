#pragma once
// Types and text bounds shared by every layer.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Bounded texts: general texts 255, script lines 55, names, keys and labels 32 characters.
// Longer texts are cut, never refused. Paths that reach the file system are never cut.
inline constexpr std::size_t kStringL = 255;
inline constexpr std::size_t kStringText = 55;
inline constexpr std::size_t kStringName = 32;

// Cuts a UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutText(std::string_view text, std::size_t limit);

struct QXVector {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    bool operator==(const QXVector&) const = default;
};

// Colours share the vector's layout: X red, Y green, Z blue, each 0 to 1.
using QXColor = QXVector;

struct QXVector2 {
    float X = 0.0f;
    float Y = 0.0f;
    bool operator==(const QXVector2&) const = default;
};

struct QXVector4 {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    float W = 0.0f;
    bool operator==(const QXVector4&) const = default;
};

// An in-memory script: its lines (each at most 55 characters) and the index of the last one.
struct QXScript {
    std::vector<std::string> Lines;
    int Last = -1;
};
