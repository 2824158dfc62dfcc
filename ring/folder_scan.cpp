#include "ring/folder_scan.h"

#include "engine/qox_console.h"
#include "engine/qox_main.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"
#include "ring/view_match.h"

QRFolderScan::QRFolderScan(QREFolder& folder) : Target(&folder), Path(folder.FullPath())
{
    Known.reserve(static_cast<std::size_t>(folder.Folders->Count() + folder.Files->Count()));
    folder.ForEachChild([&](const QRElement* child) { Known.insert(child->Name); });
    const platform::ListingDetail detail = Target->ScanDetail();
    if (detail == platform::ListingDetail::Kinds)
        Target->Ring->FilesWithoutSizes = true;
    Listing.Open(Path, detail);
}

// A folder whose reading breaks off midway keeps the entries read before.
bool QRFolderScan::Continue(Clock::time_point deadline)
{
    QRViewMatchScope matching(*Target->Ring);
    while (Listing.ReadPart()) {
        Target->AddEntries(Listing, Known);
        if (!Listing.Done() && Clock::now() >= deadline)
            return false;
    }
    if (Listing.Result() == platform::ListingResult::Unreadable)
        Engine()->Console->AddLine("Cannot read folder \"" + Path + "\"");
    Target->Folders->ShrinkToFit();
    Target->Files->ShrinkToFit();
    return true;
}
