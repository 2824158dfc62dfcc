#include "ring/ring_history.h"

#include "ring/element_folder.h"
#include "ring/folder_listing.h"
#include "ring/ring_growth.h"

QRRingHistory::QRRingHistory(platform::SizeHistory history)
    : History(std::move(history)), Count(History.NewestComplete()),
      Index(std::make_unique<platform::SizeHistoryIndex>(History, *Count))
{
}

std::string QRRingHistory::Folder() const
{
    return (History.Host.empty() ? std::string("history") : History.Host) + ":" + History.Root;
}

std::string QRRingHistory::RefusalText() const
{
    return "\"" + Folder() + "\" shows a size history: its files are not on this disk, so they cannot be opened or changed.";
}

std::string QRRingHistory::SmallerFilesName(std::int64_t files)
{
    return "(" + std::to_string(files) + (files == 1 ? " smaller file)" : " smaller files)");
}

QRFolderListing QRRingHistory::ListingOf(const QREFolder& folder) const
{
    const std::string relative = RelativePathOf(folder);
    QRFolderListing listing;
    for (const platform::HistoryChild& child : Index->ChildrenOf(relative)) {
        platform::DirectoryEntry entry;
        entry.Name = child.Folder ? child.Name.substr(0, child.Name.size() - 1) : child.Name;
        entry.Folder = child.Folder;
        entry.Hidden = entry.Name.starts_with('.');
        entry.Size = child.Folder ? -1 : child.Totals.Bytes;
        listing.Add(entry);
    }
    const platform::SizeTotals smaller = Index->SmallerFilesOf(relative);
    if (smaller.Files > 0) {
        platform::DirectoryEntry entry;
        entry.Name = SmallerFilesName(smaller.Files);
        entry.Size = smaller.Bytes;
        listing.Add(entry);
    }
    return listing;
}

void QRRingHistory::SizeChildren(QREFolder& folder) const
{
    const std::string relative = RelativePathOf(folder);
    if (const platform::SizeTotals* own = Index->TotalsOf(relative))
        folder.Size = own->Bytes;
    const platform::SizeTotals smaller = Index->SmallerFilesOf(relative);
    folder.ForEachChild([&](QRElement* child) {
        if (const platform::SizeTotals* totals = Index->TotalsOf(relative + child->Name))
            child->Size = totals->Bytes;
        else if (!child->IsFolder())
            child->Size = smaller.Bytes;
    });
}

const platform::SizeTotals* QRRingHistory::TotalsOf(const QRElement& element) const
{
    return Index->TotalsOf(RelativePathOf(element));
}
