#include "platform/size_history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/temporary_file.h"

namespace platform {

namespace {

constexpr std::string_view kMark = "ORBSIZES";
constexpr std::uint8_t kFormat = 1;
constexpr std::size_t kHeaderBytes = 8 + 1 + 8;
constexpr std::uint8_t kPartialFlag = 1;
constexpr std::size_t kMaxHostBytes = 255;
// Deflate cannot pack more than about 1032 bytes into one; a payload said to be larger than that
// for its compressed size is a lie, and is refused before any memory is taken for it.
constexpr std::uint64_t kMaxInflation = 1100;
constexpr std::uint64_t kMaxPayloadBytes = std::uint64_t(1) << 30;

// ---- writing ----

void PutVarint(std::string& out, std::uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7f) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

std::uint64_t ZigZag(std::int64_t value)
{
    return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

void PutSigned(std::string& out, std::int64_t value)
{
    PutVarint(out, ZigZag(value));
}

void PutText(std::string& out, std::string_view text)
{
    PutVarint(out, text.size());
    out.append(text);
}

// The change from `before` wraps around rather than overflow; the reader adds it back the same way.
std::int64_t Change(std::int64_t after, std::int64_t before)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(after) - static_cast<std::uint64_t>(before));
}

void PutPaths(std::string& out, const std::vector<std::string>& paths)
{
    PutVarint(out, paths.size());
    std::string_view previous;
    for (const std::string& path : paths) {
        std::size_t shared = 0;
        while (shared < previous.size() && shared < path.size() && previous[shared] == path[shared])
            ++shared;
        PutVarint(out, shared);
        PutText(out, std::string_view(path).substr(shared));
        previous = path;
    }
}

// The counts newest first, each against the one written before it.
void PutCounts(std::string& out, const SizeHistory& history)
{
    std::vector<SizeTotals> before(history.Paths.size());
    std::vector<std::uint32_t> heldBy(history.Paths.size(), 0); // 1 + the written count holding it
    PutVarint(out, history.Counts.size());
    std::uint32_t written = 0;
    for (auto count = history.Counts.rbegin(); count != history.Counts.rend(); ++count) {
        PutSigned(out, count->Time);
        out.push_back(static_cast<char>(count->Extent == CountExtent::Partial ? kPartialFlag : 0));
        PutVarint(out, count->Paths.size());
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < count->Paths.size(); ++i) {
            const std::uint32_t path = count->Paths[i];
            PutVarint(out, i == 0 ? path : path - last - 1);
            last = path;
            const SizeTotals base = heldBy[path] == written && written > 0 ? before[path] : SizeTotals{};
            const SizeTotals& totals = count->Totals[i];
            PutSigned(out, Change(totals.Bytes, base.Bytes));
            PutSigned(out, Change(totals.AllocatedBytes, base.AllocatedBytes));
            PutSigned(out, Change(totals.Files, base.Files));
            PutSigned(out, Change(totals.Folders, base.Folders));
            before[path] = totals;
            heldBy[path] = written + 1;
        }
        ++written;
    }
}

void PutUint64(std::string& out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// ---- reading ----

// A cursor over the payload that refuses to read past its end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : Bytes(bytes) {}

    std::size_t Left() const { return Bytes.size() - At; }
    bool AtEnd() const { return At == Bytes.size(); }

    bool Varint(std::uint64_t& value)
    {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (At == Bytes.size())
                return false;
            const auto byte = static_cast<std::uint8_t>(Bytes[At++]);
            if (shift == 63 && byte > 1)
                return false;
            value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0)
                return true;
        }
        return false;
    }
    bool Signed(std::int64_t& value)
    {
        std::uint64_t raw = 0;
        if (!Varint(raw))
            return false;
        value = static_cast<std::int64_t>((raw >> 1) ^ (~(raw & 1) + 1));
        return true;
    }
    bool Byte(std::uint8_t& value)
    {
        if (At == Bytes.size())
            return false;
        value = static_cast<std::uint8_t>(Bytes[At++]);
        return true;
    }
    bool Text(std::string& text, std::size_t limit)
    {
        std::uint64_t size = 0;
        if (!Varint(size) || size > limit || size > Left())
            return false;
        text.assign(Bytes.substr(At, size));
        At += size;
        return true;
    }

private:
    std::string_view Bytes;
    std::size_t At = 0;
};

bool IsRoot(const std::string& root)
{
    return root.size() <= kMaxPathBytes && root.starts_with('/') && root.ends_with('/') &&
           root.find('\0') == std::string::npos;
}

bool IsHost(const std::string& host)
{
    for (const char c : host)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return true;
}

std::optional<std::string> ReadPaths(Reader& reader, std::vector<std::string>& paths)
{
    std::uint64_t count = 0;
    if (!reader.Varint(count) || count > reader.Left() / 2 || count > std::numeric_limits<std::uint32_t>::max())
        return "its table of paths is cut short";
    paths.reserve(count);
    std::string previous;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t shared = 0;
        std::string suffix;
        if (!reader.Varint(shared) || !reader.Text(suffix, kMaxPathBytes))
            return "its table of paths is cut short";
        if (shared > previous.size())
            return "its table of paths is damaged";
        std::string path = previous.substr(0, shared) + suffix;
        if (!IsHistoryPath(path) || (i > 0 && path <= previous))
            return "its table of paths is damaged";
        previous = path;
        paths.push_back(std::move(path));
    }
    return std::nullopt;
}

bool AddChange(std::int64_t base, std::int64_t change, std::int64_t& value)
{
    value = static_cast<std::int64_t>(static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(change));
    return value >= 0;
}

// The counts, newest first in the file, each against the one read before it.
std::optional<std::string> ReadCounts(Reader& reader, SizeHistory& history)
{
    const std::size_t pathCount = history.Paths.size();
    std::uint64_t countCount = 0;
    if (!reader.Varint(countCount) || countCount > reader.Left() / 3)
        return "its counts are cut short";
    std::vector<SizeTotals> before(pathCount);
    std::vector<std::uint32_t> heldBy(pathCount, 0);
    std::vector<SizeCount> newestFirst;
    newestFirst.reserve(countCount);
    for (std::uint32_t read = 0; read < countCount; ++read) {
        SizeCount count;
        std::uint8_t flags = 0;
        std::uint64_t entries = 0;
        if (!reader.Signed(count.Time) || !reader.Byte(flags) || !reader.Varint(entries) || entries > reader.Left() / 5)
            return "its counts are cut short";
        if ((flags & ~kPartialFlag) != 0 || (read > 0 && count.Time >= newestFirst.back().Time))
            return "its counts are out of order";
        count.Extent = (flags & kPartialFlag) != 0 ? CountExtent::Partial : CountExtent::Complete;
        count.Paths.reserve(entries);
        count.Totals.reserve(entries);
        std::uint64_t path = 0;
        for (std::uint64_t i = 0; i < entries; ++i) {
            std::uint64_t step = 0;
            std::int64_t change[4]{};
            if (!reader.Varint(step) || !reader.Signed(change[0]) || !reader.Signed(change[1]) || !reader.Signed(change[2]) ||
                !reader.Signed(change[3]))
                return "its counts are cut short";
            if (i > 0 && step >= pathCount)
                return "a count names a path the history does not hold";
            path = i == 0 ? step : path + step + 1;
            if (path >= pathCount)
                return "a count names a path the history does not hold";
            const SizeTotals base = heldBy[path] == read && read > 0 ? before[path] : SizeTotals{};
            SizeTotals totals;
            if (!AddChange(base.Bytes, change[0], totals.Bytes) || !AddChange(base.AllocatedBytes, change[1], totals.AllocatedBytes) ||
                !AddChange(base.Files, change[2], totals.Files) || !AddChange(base.Folders, change[3], totals.Folders))
                return "a count holds a negative size";
            if (!IsFolderPath(history.Paths[path]) && (totals.Files != 0 || totals.Folders != 0))
                return "a count gives a file files of its own";
            before[path] = totals;
            heldBy[path] = read + 1;
            count.Paths.push_back(static_cast<std::uint32_t>(path));
            count.Totals.push_back(totals);
        }
        newestFirst.push_back(std::move(count));
    }
    history.Counts.assign(std::make_move_iterator(newestFirst.rbegin()), std::make_move_iterator(newestFirst.rend()));
    return std::nullopt;
}

std::optional<std::string> Inflate(std::string_view compressed, std::uint64_t size, std::string& payload)
{
    payload.resize(size);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::string("zlib could not be started");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(payload.data());
    stream.avail_out = static_cast<uInt>(size);
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!whole)
        return std::string("its compressed data is damaged");
    return std::nullopt;
}

std::string ReasonOf(int error)
{
    return std::strerror(error);
}

} // namespace

std::string EncodeHistory(const SizeHistory& history)
{
    std::string payload;
    PutText(payload, history.Root);
    PutText(payload, history.Host);
    PutPaths(payload, history.Paths);
    PutCounts(payload, history);

    uLongf packedSize = compressBound(static_cast<uLong>(payload.size()));
    std::string file(kMark);
    file.push_back(static_cast<char>(kFormat));
    PutUint64(file, payload.size());
    file.resize(kHeaderBytes + packedSize);
    compress2(reinterpret_cast<Bytef*>(file.data() + kHeaderBytes), &packedSize,
              reinterpret_cast<const Bytef*>(payload.data()), static_cast<uLong>(payload.size()), Z_DEFAULT_COMPRESSION);
    file.resize(kHeaderBytes + packedSize);
    return file;
}

std::optional<std::string> DecodeHistory(std::string_view bytes, SizeHistory& history)
{
    history = {};
    if (bytes.size() < kHeaderBytes || bytes.substr(0, kMark.size()) != kMark)
        return std::string("it is not a size history");
    if (static_cast<std::uint8_t>(bytes[kMark.size()]) != kFormat)
        return std::string("it was written in a format this version does not know");
    std::uint64_t size = 0;
    for (int i = 0; i < 8; ++i)
        size |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes[kMark.size() + 1 + i])) << (8 * i);
    const std::string_view compressed = bytes.substr(kHeaderBytes);
    if (size > kMaxPayloadBytes || size > compressed.size() * kMaxInflation || compressed.size() > UINT_MAX)
        return std::string("its compressed data is damaged");
    std::string payload;
    if (auto problem = Inflate(compressed, size, payload))
        return problem;

    Reader reader(payload);
    SizeHistory read;
    if (!reader.Text(read.Root, kMaxPathBytes) || !reader.Text(read.Host, kMaxHostBytes))
        return std::string("its folder is cut short");
    if (!IsRoot(read.Root) || !IsHost(read.Host))
        return std::string("its folder is not an absolute folder");
    if (auto problem = ReadPaths(reader, read.Paths))
        return problem;
    if (auto problem = ReadCounts(reader, read))
        return problem;
    if (!reader.AtEnd())
        return std::string("it goes on after its last count");
    history = std::move(read);
    return std::nullopt;
}

FileStamp StampOfFile(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {};
    return {true, status.st_dev, status.st_ino, static_cast<std::int64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

HistoryFileRead ReadHistoryFile(const std::string& path, SizeHistory& history)
{
    history = {};
    HistoryFileRead result;
    result.Stamp = StampOfFile(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && !result.Stamp.Exists)
            return result;
        result.Outcome = HistoryRead::Refused;
        result.Problem = ReasonOf(errno);
        return result;
    }
    struct stat status {};
    std::string bytes;
    result.Outcome = HistoryRead::Refused;
    if (::fstat(fd, &status) != 0)
        result.Problem = ReasonOf(errno);
    else if (!S_ISREG(status.st_mode))
        result.Problem = "it is not a regular file";
    else if (status.st_size > kMaxHistoryFileBytes)
        result.Problem = "it is larger than any size history";
    else {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                result.Problem = got < 0 ? ReasonOf(errno) : "it was cut short while it was read";
                break;
            }
            done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    if (!result.Problem.empty())
        return result;
    if (auto problem = DecodeHistory(bytes, history)) {
        result.Problem = *problem;
        return result;
    }
    result.Outcome = HistoryRead::Read;
    return result;
}

HistoryFileWrite WriteHistoryFile(const std::string& path, const SizeHistory& history, const FileStamp& expected)
{
    const std::string bytes = EncodeHistory(history);
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const TemporaryFile written = WriteTemporaryFile(folder + ".orbivane-" + name + ".XXXXXX", bytes);
    if (written.Error != 0)
        return {HistoryWrite::Failed, ReasonOf(written.Error)};
    const std::string& temporary = written.Path;
    if (StampOfFile(path) != expected) {
        ::unlink(temporary.c_str());
        return {HistoryWrite::Changed, "another program wrote it meanwhile"};
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return {HistoryWrite::Failed, ReasonOf(error)};
    }
    return {HistoryWrite::Written, ""};
}

} // namespace platform
