#pragma once
// A folder's scan, one part of its listing at a time: all at once (QREFolder::Scan), or a few parts
// in each frame for the folder of a new ring, so that the window shows the ring as it grows
// instead of waiting for a folder of a million entries.
#include <chrono>
#include <string>
#include <string_view>
#include <unordered_set>

#include "ring/folder_listing.h"

class QREFolder;

class QRFolderScan {
public:
    using Clock = std::chrono::steady_clock;

    // Opens the folder's listing. The names its children have now are known and not added again;
    // they are views into the folder's name store, so no child may leave while a scan that began
    // with children runs (a scan across frames begins with none).
    explicit QRFolderScan(QREFolder& folder);
    QRFolderScan(const QRFolderScan&) = delete;
    QRFolderScan& operator=(const QRFolderScan&) = delete;

    // Adds the parts read until `deadline` has passed (one at least); true once the whole folder
    // is in.
    bool Continue(Clock::time_point deadline);
    QREFolder& Folder() const { return *Target; }

private:
    QREFolder* Target; // not owned
    std::unordered_set<std::string_view> Known;
    QRFolderListing Listing;
    std::string Path;
};
