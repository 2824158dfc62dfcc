#include "resources/texture_cache.h"

#include <stdio.h>
#include <sys/stat.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/program_folder.h"
#include "platform/temporary_file.h"
#include "platform/whole_file.h"

namespace {

constexpr char kMagic[8] = {'O', 'R', 'B', 'T', 'E', 'X', '0', '1'};
// A chain of mipmap levels ends at 1 x 1; GL holds no more than this.
constexpr std::uint32_t kMostLevels = 16;
// Far above any texture the program makes; a larger file is not one of ours.
constexpr std::size_t kMostFileBytes = std::size_t{256} << 20;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word)
{
    hash ^= word * 0xbf58476d1ce4e5b9ull;
    return std::rotl(hash, 27) * 0x94d049bb133111ebull;
}

// The file's bytes, written in the order they are read back.
class Writer {
public:
    template <class Value>
    void Put(Value value)
    {
        Bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void PutBytes(const void* bytes, std::size_t size)
    {
        Put(static_cast<std::uint32_t>(size));
        Bytes.append(static_cast<const char*>(bytes), size);
    }
    std::string Bytes;
};

// Reads what Writer wrote; any read past the end fails this read and every later one.
class Reader {
public:
    Reader(const std::uint8_t* bytes, std::size_t size) : At(bytes), Left(size) {}
    template <class Value>
    bool Get(Value& value)
    {
        if (!Take(sizeof value))
            return false;
        std::memcpy(&value, At - sizeof value, sizeof value);
        return true;
    }
    template <class Container>
    bool GetBytes(Container& into)
    {
        std::uint32_t size = 0;
        if (!Get(size) || !Take(size))
            return false;
        into.assign(At - size, At);
        return true;
    }
    bool AtEnd() const { return Ok && Left == 0; }

private:
    bool Take(std::size_t size)
    {
        Ok = Ok && size <= Left;
        if (Ok) {
            At += size;
            Left -= size;
        }
        return Ok;
    }
    const std::uint8_t* At;
    std::size_t Left;
    bool Ok = true;
};

void PutSource(Writer& out, const QRTextureSource& source)
{
    out.Put(source.PixelHash);
    out.Put(source.Width);
    out.Put(source.Height);
    out.Put(source.Layout);
    out.Put(source.InternalFormat);
    out.PutBytes(source.Driver.data(), source.Driver.size());
}

bool GetSource(Reader& in, QRTextureSource& source)
{
    return in.Get(source.PixelHash) && in.Get(source.Width) && in.Get(source.Height) && in.Get(source.Layout) &&
           in.Get(source.InternalFormat) && in.GetBytes(source.Driver);
}

bool GetLevel(Reader& in, QRTextureLevel& level)
{
    level.Compressed = true;
    return in.Get(level.Width) && in.Get(level.Height) && in.Get(level.InternalFormat) && in.GetBytes(level.Bytes) &&
           level.Width > 0 && level.Height > 0 && !level.Bytes.empty();
}

} // namespace

QRTextureCache::QRTextureCache(std::string folder) : Folder(std::move(folder)) {}

std::uint64_t QRTextureCache::HashBytes(const void* bytes, std::size_t size)
{
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    std::uint64_t hash = 0x9e3779b97f4a7c15ull ^ size;
    std::size_t done = 0;
    for (; done + 8 <= size; done += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at + done, 8);
        hash = Mix(hash, word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, at + done, size - done);
    hash = Mix(hash, tail);
    hash ^= hash >> 31;
    return hash * 0xd6e8feb86659fd93ull;
}

std::string QRTextureCache::FileOf(const QRTextureSource& source) const
{
    Writer key;
    PutSource(key, source);
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.levels",
                  static_cast<unsigned long long>(HashBytes(key.Bytes.data(), key.Bytes.size())));
    return Folder + name;
}

std::optional<std::vector<QRTextureLevel>> QRTextureCache::Find(const QRTextureSource& source) const
{
    std::vector<std::uint8_t> bytes;
    struct stat status {};
    if (!platform::ReadWholeFile(FileOf(source), kMostFileBytes, bytes, status) ||
        bytes.size() < sizeof kMagic + sizeof(std::uint64_t) || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const std::size_t body = bytes.size() - sizeof(std::uint64_t);
    std::uint64_t checksum = 0;
    std::memcpy(&checksum, bytes.data() + body, sizeof checksum);
    if (checksum != HashBytes(bytes.data(), body))
        return std::nullopt;
    Reader in(bytes.data() + sizeof kMagic, body - sizeof kMagic);
    QRTextureSource kept;
    std::uint32_t count = 0;
    if (!GetSource(in, kept) || !(kept == source) || !in.Get(count) || count == 0 || count > kMostLevels)
        return std::nullopt;
    std::vector<QRTextureLevel> levels(count);
    for (QRTextureLevel& level : levels)
        if (!GetLevel(in, level))
            return std::nullopt;
    if (!in.AtEnd())
        return std::nullopt;
    return levels;
}

std::optional<std::string> QRTextureCache::Keep(const QRTextureSource& source,
                                                const std::vector<QRTextureLevel>& levels) const
{
    if (levels.empty() || levels.size() > kMostLevels)
        return std::string("no levels to keep");
    Writer out;
    out.Bytes.assign(kMagic, sizeof kMagic);
    PutSource(out, source);
    out.Put(static_cast<std::uint32_t>(levels.size()));
    for (const QRTextureLevel& level : levels) {
        if (!level.Compressed)
            return std::string("a level is not compressed");
        out.Put(level.Width);
        out.Put(level.Height);
        out.Put(level.InternalFormat);
        out.PutBytes(level.Bytes.data(), level.Bytes.size());
    }
    out.Put(HashBytes(out.Bytes.data(), out.Bytes.size()));
    if (!platform::MakeStateFolders(Folder))
        return "cannot make \"" + Folder + "\": " + std::strerror(errno);
    const std::string target = FileOf(source);
    const platform::TemporaryFile written = platform::WriteTemporaryFile(target + ".XXXXXX", out.Bytes);
    if (written.Path.empty())
        return "cannot write \"" + target + "\": " + std::strerror(written.Error);
    // Only this cache writes here, and a file it replaces holds what can be made again.
    if (::rename(written.Path.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::remove(written.Path.c_str());
        return "cannot write \"" + target + "\": " + std::strerror(error);
    }
    return std::nullopt;
}
