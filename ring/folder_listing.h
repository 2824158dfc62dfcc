#pragma once
// One pass over a folder's directory, kept while the folder uses it: every entry as its element
// would be named (a folder's name with its "/"), its kind, link mark and size. The names share one
// buffer, so listing a folder of many entries costs a few allocations, not one per entry.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory_listing.h"
#include "ring/ring_layout.h"

class QRFolderListing {
public:
    struct Entry {
        std::uint32_t NameAt = 0;   // where the name starts in the shared buffer
        std::uint16_t NameSize = 0; // bytes, a folder's "/" included
        bool Folder = false;        // a folder, or a link to one
        bool Link = false;
        std::int64_t Size = -1; // bytes, when the listing read sizes: apparent, or on the disk
    };

    using PartVisitor = std::function<void(const QRFolderListing& part)>;

    // About the names' bytes of one part.
    static constexpr std::size_t kPartBytes = 64 * 1024;

    // Lists `path` (a folder path ending in "/"); the entries are kept only when it was Listed.
    platform::ListingResult Read(const std::string& path, platform::ListingDetail detail);
    // Lists `path` in parts of about kPartBytes of names, so that the listing never grows large:
    // `visit` sees each part (the listing then holds just that part) as soon as it is full, and
    // the last one when the reading ends, also when it broke off. The listing is empty afterwards.
    platform::ListingResult ReadInParts(const std::string& path, platform::ListingDetail detail, const PartVisitor& visit);
    // The same a part at a time, across as many calls as the caller likes: Open, then ReadPart
    // until it answers false; Result tells how the reading ended.
    void Open(const std::string& path, platform::ListingDetail detail);
    // The next part (replacing the last); false when the folder has ended and nothing came.
    bool ReadPart();
    // The folder has been read to its end (or could not be read on): no part follows.
    bool Done() const { return Reader == nullptr; }
    platform::ListingResult Result() const;

    const std::vector<Entry>& Entries() const { return Items; }
    std::string_view NameOf(const Entry& entry) const { return {Names.data() + entry.NameAt, entry.NameSize}; }
    // Adds an entry as the directory would give it (a listing made from elsewhere than the disk).
    void Add(const platform::DirectoryEntry& entry);

private:
    void Clear();

    std::string Names; // every name, one after the other
    std::vector<Entry> Items;
    // Sizes are the blocks on the disk ("SizeOnDisk"), as the listing was made.
    bool OnDisk = QRLayout::SizesOnDisk();
    std::unique_ptr<platform::DirectoryReader> Reader; // owned while read part by part
    platform::ListingResult Ended = platform::ListingResult::Listed;
};
