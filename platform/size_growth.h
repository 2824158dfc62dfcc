#pragma once
// What changed between two counts of one history: every path with its totals before and after,
// and the paths that grew (or are largest) most, with the counted folder and the folders whose
// whole change is that of one path directly below them left out (that path says it better).
#include <cstdint>
#include <vector>

#include "platform/size_history.h"

namespace platform {

struct PathChange {
    std::uint32_t Path = 0; // into SizeHistory::Paths
    bool InBefore = false;
    bool InAfter = false;
    SizeTotals Before; // zero when not InBefore
    SizeTotals After;  // zero when not InAfter

    std::int64_t Growth() const { return After.Bytes - Before.Bytes; }
};

// Every path of either count, in path order.
std::vector<PathChange> ChangesBetween(const SizeCount& before, const SizeCount& after);

struct RankedPath {
    std::uint32_t Path = 0;
    std::int64_t Value = 0;
};

// The paths of positive value, largest first, at most `limit` of them; `valueOf` has one value
// per path of the history. A path's parent is the folder its last step lies in.
std::vector<RankedPath> Ranked(const SizeHistory& history, const std::vector<std::int64_t>& valueOf, std::size_t limit);

// The paths that grew most between two counts, and the largest paths of one count.
std::vector<RankedPath> MostGrown(const SizeHistory& history, const std::vector<PathChange>& changes, std::size_t limit);
std::vector<RankedPath> Largest(const SizeHistory& history, const SizeCount& count, std::size_t limit);

// The folder a path lies in ("a/b/" for "a/b/c/" and "a/b/c.txt"; "" for "a/"); the counted
// folder ("") has none and gives itself.
std::string_view ParentPath(std::string_view path);

} // namespace platform
