#pragma once
// The file of a size history: "ORBSIZES", a format number (one byte), the length of the payload
// (eight bytes, little-endian) and the payload compressed with zlib. The payload holds the counted
// folder, the machine, the table of paths (sorted, each sharing a prefix with the one before) and
// the counts, newest first, each path's totals written as the change from the count before it,
// so that what did not change costs little once compressed.
//
// The reader takes any bytes: whatever does not hold together (a wrong mark, a payload that is
// cut, longer or shorter than said, numbers out of range, paths out of order or not relative,
// negative totals) refuses the whole file with a reason, and nothing of it is used.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/size_history.h"

namespace platform {

inline constexpr std::int64_t kMaxHistoryFileBytes = std::int64_t(256) << 20;

// The whole file for a history.
std::string EncodeHistory(const SizeHistory& history);
// The history a file's bytes hold; the reason when they are refused (history is then empty).
std::optional<std::string> DecodeHistory(std::string_view bytes, SizeHistory& history);

// Enough of a file's status to see that another program replaced it since it was read.
struct FileStamp {
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOfFile(const std::string& path);

enum class HistoryRead { Read, Missing, Refused };
struct HistoryFileRead {
    HistoryRead Outcome = HistoryRead::Missing;
    std::string Problem; // why it was refused
    FileStamp Stamp;     // of the file as it was read
};

// Reads a history file: a regular file only (a pipe or a device is refused without being read),
// at most kMaxHistoryFileBytes.
HistoryFileRead ReadHistoryFile(const std::string& path, SizeHistory& history);

enum class HistoryWrite { Written, Changed, Failed };
struct HistoryFileWrite {
    HistoryWrite Outcome = HistoryWrite::Failed;
    std::string Problem;
};

// Writes the history beside `path` under a temporary name and renames it into place, unless the
// file at `path` is no longer the one `expected` describes (Changed: another program wrote it
// since it was read); a full disk or a folder that cannot be written leaves the old file whole.
HistoryFileWrite WriteHistoryFile(const std::string& path, const SizeHistory& history, const FileStamp& expected);

} // namespace platform
