#pragma once
// Where size histories live (the folder "sizes/" of the program's state folder, one file per
// counted folder) and how a new count joins its history: read, merged, bounded, written under a
// temporary name and renamed into place, and read and merged again if another program (the
// command-line counter run by cron, a second window) wrote the file meanwhile.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/size_history.h"

namespace platform {

inline constexpr const char* kHistoryExtension = ".orbivane-sizes";

// StateFolder() + "sizes/".
std::string SizeHistoryFolder();
// The file of a counted folder's history in `folder`: a readable part of the path and a hash of
// the whole ("home-ann-Music-3f09c2a1d6e4b871.orbivane-sizes").
std::string HistoryPathOf(const std::string& root, const std::string& folder);
// This machine's name, as histories record it.
std::string ThisHost();

struct CountRecord {
    std::string Root; // the counted folder, ending in "/"
    std::int64_t Time = 0;
    CountExtent Extent = CountExtent::Complete;
    std::vector<SizeEntry> Entries;
    int Keep = kDefaultCountsKept;          // the newest counts kept whole (BoundHistory)
    std::optional<std::int64_t> Replaces;   // an earlier count of the same session it stands for
};

struct RecordReport {
    bool Recorded = false;
    std::int64_t Time = 0; // the time the count was recorded at (a second later than asked when taken)
    // What the user should hear: why nothing was recorded, or that a damaged history was set
    // aside (as "<file>.damaged") and a new one begun.
    std::string Problem;
};

// Adds the count to the history at `path`, making its folder (owner-only) when it is missing.
RecordReport RecordCount(const std::string& path, const CountRecord& record);

} // namespace platform
