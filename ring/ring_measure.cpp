#include "ring/ring_measure.h"

#include <string_view>
#include <unordered_map>

#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/folder_listing.h"
#include "ring/ring_main.h"
#include "ring/ring_sizes.h"

namespace {

bool AnyFileSized(const QREFolder& folder)
{
    for (const QREFile* file : *folder.Files)
        if (file->SizeKnown())
            return true;
    return false;
}

// One listing of the folder gives its files their sizes in the measure now set.
void RemeasureFiles(QREFolder& folder)
{
    if (AnyFileSized(folder)) {
        QRFolderListing listing;
        if (listing.Read(folder.FullPath(), platform::ListingDetail::Sizes) == platform::ListingResult::Listed) {
            std::unordered_map<std::string_view, std::int64_t> sizes;
            for (const QRFolderListing::Entry& entry : listing.Entries())
                sizes.emplace(listing.NameOf(entry), entry.Size);
            for (QREFile* file : *folder.Files)
                if (const auto found = sizes.find(file->Name); found != sizes.end() && file->SizeKnown())
                    file->Size = found->second;
        }
    }
    for (QREFolder* child : *folder.Folders)
        RemeasureFiles(*child);
}

// A folder that summed its children's sizes sums them again, deepest first.
void ResumFolders(QREFolder& folder)
{
    for (QREFolder* child : *folder.Folders)
        ResumFolders(*child);
    if (folder.SizeKnown()) {
        folder.Size = -1;
        folder.ComputeSize();
    }
}

} // namespace

void RemeasureRing(QOXRing& ring)
{
    RemeasureFiles(*ring.Root);
    if (ring.Sizes != nullptr)
        ring.Sizes->Remeasure();
    else if (App()->Settings.ComputeFolderSize)
        ResumFolders(*ring.Root);
    ring.Relayout();
}
