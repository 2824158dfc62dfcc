#pragma once
// The sizes a folder had each time it was counted: one history per counted folder, the totals of
// its folders and its large files at every count, kept in a compact file (see size_history_file).
// Plain data; the file, its place and its bounds are the business of size_history_file and
// size_history_store.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_count.h"

namespace platform {

// What one path held at one count. A file has no Files and no Folders.
struct SizeTotals {
    std::int64_t Bytes = 0;
    std::int64_t AllocatedBytes = 0;
    std::int64_t Files = 0;
    std::int64_t Folders = 0;

    bool operator==(const SizeTotals&) const = default;
};

// Complete: the whole tree was counted. Partial: only some folders had finished (the program
// ended mid-count); such a count gives first sizes, never a base for growth.
enum class CountExtent { Complete, Partial };

// One count: the paths it holds (indices into SizeHistory::Paths, increasing) and their totals.
struct SizeCount {
    std::int64_t Time = 0; // seconds since 1970, UTC
    CountExtent Extent = CountExtent::Complete;
    std::vector<std::uint32_t> Paths;
    std::vector<SizeTotals> Totals; // one for each of Paths

    // The totals of a path of the history, or none when this count does not hold it.
    const SizeTotals* Find(std::uint32_t path) const;
    bool operator==(const SizeCount&) const = default;
};

// A path and its totals, as a new count brings them.
struct SizeEntry {
    std::string Path;
    SizeTotals Totals;
};

struct SizeHistory {
    std::string Root; // the counted folder, ending in "/"
    std::string Host; // the machine it was counted on
    // Relative to Root, sorted and unique: "" is Root itself, folders end in "/" ("docs/old/"),
    // files do not ("docs/film.mkv").
    std::vector<std::string> Paths;
    std::vector<SizeCount> Counts; // oldest first, no two at the same time

    std::optional<std::uint32_t> IndexOf(std::string_view path) const;
    // The newest count, or the newest complete one; none when there is no such count.
    const SizeCount* Newest() const;
    const SizeCount* NewestComplete() const;
    // The newest complete count made at or before `time`.
    const SizeCount* CompleteAtOrBefore(std::int64_t time) const;
    // The complete count just before the newest complete one ("the previous count").
    const SizeCount* PreviousComplete() const;
    bool operator==(const SizeHistory&) const = default;
};

// True for a path as the history keeps it: relative, components neither empty nor "." nor "..",
// no NUL, at most kMaxPathBytes long.
inline constexpr std::size_t kMaxPathBytes = 4096;
bool IsHistoryPath(std::string_view path);
inline bool IsFolderPath(std::string_view path) { return path.empty() || path.back() == '/'; }

// Adds a count (entries in any order, one per path). It stands for the count `replaces` names (the
// same session's earlier count of the folder); a count of another program made in the same second
// is kept, the new one taking the next free second. Returns the time the count was given.
std::int64_t AddCount(SizeHistory& history, std::int64_t time, CountExtent extent, std::vector<SizeEntry> entries,
              std::optional<std::int64_t> replaces = std::nullopt);

// The entries of a counter's snapshot: its folders and its large files.
std::vector<SizeEntry> EntriesOf(const CountSnapshot& snapshot);

// Keeps the `newest` latest counts and, of those before them, the first count of each calendar
// month (UTC) in the year before the newest one; a partial count survives only as the newest.
// Paths no count holds any more are dropped.
inline constexpr int kDefaultCountsKept = 10;
void BoundHistory(SizeHistory& history, int newest);

// Paths no count holds are dropped and the counts' indices follow.
void DropUnusedPaths(SizeHistory& history);

} // namespace platform
