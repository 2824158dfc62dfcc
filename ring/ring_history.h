#pragma once
// A ring opened on a size history (File > Open Size History…), recorded here or on another machine:
// its folders and files come from the history's newest complete count instead of the disk, which
// such a ring never reads, watches, counts or changes. Its folder is named after the machine and
// the counted folder ("srv01:/srv/data/"), so it is never taken for a ring on this disk.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/size_history.h"
#include "platform/size_history_index.h"

class QREFolder;
class QRFolderListing;
class QRElement;

class QRRingHistory {
public:
    // `history` holds a complete count (NewestComplete).
    explicit QRRingHistory(platform::SizeHistory history);

    // "srv01:/srv/data/", or "history:/srv/data/" without a machine's name.
    std::string Folder() const;
    std::int64_t Time() const { return Count->Time; }
    const std::string& Host() const { return History.Host; }
    // The folder's entries as the count holds them: its sub-folders, its recorded files, and one
    // entry standing for its smaller files together.
    QRFolderListing ListingOf(const QREFolder& folder) const;
    // Gives the folder's children (and a root, itself) their sizes from the count.
    void SizeChildren(QREFolder& folder) const;
    // What the count holds for a folder or a recorded file; none for the entry of smaller files.
    const platform::SizeTotals* TotalsOf(const QRElement& element) const;
    // What the user hears when a file command or "open" meets such a ring.
    std::string RefusalText() const;
    // The name of the entry that stands for a folder's `files` smaller files ("(12 smaller files)").
    static std::string SmallerFilesName(std::int64_t files);

private:
    platform::SizeHistory History;
    const platform::SizeCount* Count = nullptr; // into History
    std::unique_ptr<platform::SizeHistoryIndex> Index;
};
