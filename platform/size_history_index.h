#pragma once
// One count of a size history as a tree to walk: the folders and recorded files directly in each
// folder, and what the folder's smaller files (not recorded one by one) hold together. A ring
// opened on a history is built from it, folder by folder, as the user expands them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/size_history.h"

namespace platform {

struct HistoryChild {
    std::string Name; // a folder's with its "/"
    bool Folder = false;
    SizeTotals Totals;
};

class SizeHistoryIndex {
public:
    // `history` must outlive the index and stay unchanged.
    SizeHistoryIndex(const SizeHistory& history, const SizeCount& count);

    bool Holds(std::string_view folder) const;
    // The sub-folders and recorded files of a folder of the count (relative, "" the counted folder),
    // in path order; none for a folder it does not hold.
    std::vector<HistoryChild> ChildrenOf(std::string_view folder) const;
    // What the folder's own files below the recording size hold: its bytes and files less those
    // of its sub-folders and recorded files (never below 0).
    SizeTotals SmallerFilesOf(std::string_view folder) const;
    const SizeTotals* TotalsOf(std::string_view path) const;

private:
    const SizeHistory& History;
    const SizeCount& Count;
    std::vector<std::vector<std::uint32_t>> Children; // for each entry of Count, its children's entries
};

} // namespace platform
