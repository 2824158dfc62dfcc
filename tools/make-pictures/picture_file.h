#pragma once
// Writes a picture as a PNG file the engine's loader reads: 8-bit RGB for opaque pictures, 8-bit
// RGBA for pictures that carry alpha, never grey or palette files (a one-channel PNG would load
// as alpha only).
#include <QImage>
#include <QString>

enum class PictureAlpha { Opaque, WithAlpha };

bool IsPowerOfTwo(int n);

// False, with a line on standard error, when a side is not a power of two or writing fails.
bool SavePicture(const QImage& picture, PictureAlpha alpha, const QString& path);
