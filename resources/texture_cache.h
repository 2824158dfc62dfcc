#pragma once
// The mipmap levels of compressed textures kept on the disk. A driver that compresses a texture in
// software (Mesa's S3TC encoder on llvmpipe) spends 10-15 ms on the font's 512 x 512 picture at
// every start; the blocks it made are kept here and handed back when the same pixels are asked
// for in the same format from the same driver, to be uploaded as they are.
//
// A kept texture is one file named after a hash of what it was made from, holding that source in
// full, the levels and a checksum. A file that does not hold exactly the source asked for, or does
// not check, is not used (and is written over when the texture is kept again), so a stale, torn
// or foreign file costs one compression, never a wrong texture. The cache calls no GL.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The cache's folder within the program's cache folder.
inline constexpr const char* kTextureCacheName = "texture-cache";

// One mipmap level as GL holds it: compressed blocks, or RGBA pixels.
struct QRTextureLevel {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t InternalFormat = 0;
    bool Compressed = false;
    std::vector<std::uint8_t> Bytes;
};

// What a compressed texture is made from: the picture, the format GL was asked for and the
// driver (with the mipmap builder) that made the levels.
struct QRTextureSource {
    std::uint64_t PixelHash = 0; // QRTextureCache::HashBytes of the pixels as handed to GL
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint32_t Layout = 0;         // the pixels' GL format (GL_RGBA, GL_BGR_EXT, ...)
    std::uint32_t InternalFormat = 0; // the internal format asked for
    std::string Driver;               // vendor, renderer and version of GL and of the mipmap builder
    bool operator==(const QRTextureSource&) const = default;
};

class QRTextureCache {
public:
    // `folder` ends in "/"; it is made when the first texture is kept.
    explicit QRTextureCache(std::string folder);

    static std::uint64_t HashBytes(const void* bytes, std::size_t size);

    // The levels kept for `source`, or nothing when none are, or the file does not hold them whole.
    std::optional<std::vector<QRTextureLevel>> Find(const QRTextureSource& source) const;
    // Keeps compressed `levels` for `source`, replacing what was kept for it; nothing when kept,
    // else why not.
    std::optional<std::string> Keep(const QRTextureSource& source, const std::vector<QRTextureLevel>& levels) const;

    std::string FileOf(const QRTextureSource& source) const;

private:
    std::string Folder;
};
