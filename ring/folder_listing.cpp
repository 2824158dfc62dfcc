#include "ring/folder_listing.h"

platform::ListingResult QRFolderListing::Read(const std::string& path, platform::ListingDetail detail)
{
    Clear();
    const platform::ListingResult result =
        platform::ListDirectory(path, detail, [this](const platform::DirectoryEntry& entry) { Add(entry); });
    if (result != platform::ListingResult::Listed)
        Clear();
    return result;
}

platform::ListingResult QRFolderListing::ReadInParts(const std::string& path, platform::ListingDetail detail,
                                                     const PartVisitor& visit)
{
    Open(path, detail);
    while (ReadPart())
        visit(*this);
    return Result();
}

void QRFolderListing::Open(const std::string& path, platform::ListingDetail detail)
{
    Clear();
    Reader = std::make_unique<platform::DirectoryReader>(path, detail);
    Ended = platform::ListingResult::Listed;
}

bool QRFolderListing::ReadPart()
{
    Clear();
    if (Reader == nullptr)
        return false;
    const auto add = [this](const platform::DirectoryEntry& entry) { Add(entry); };
    if (!Reader->Read(add, [this] { return Names.size() < kPartBytes; })) {
        Ended = Reader->Result();
        Reader.reset();
    }
    return !Items.empty();
}

platform::ListingResult QRFolderListing::Result() const
{
    return Reader != nullptr ? platform::ListingResult::Listed : Ended;
}

void QRFolderListing::Add(const platform::DirectoryEntry& entry)
{
    Entry item;
    item.NameAt = static_cast<std::uint32_t>(Names.size());
    Names += entry.Name;
    if (entry.Folder)
        Names += '/';
    item.NameSize = static_cast<std::uint16_t>(Names.size() - item.NameAt);
    item.Folder = entry.Folder;
    item.Link = entry.Link;
    item.Size = OnDisk ? entry.Allocated : entry.Size;
    Items.push_back(item);
}

void QRFolderListing::Clear()
{
    Names.clear();
    Items.clear();
}
