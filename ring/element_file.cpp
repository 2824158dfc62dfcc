#include "ring/element_file.h"

#include "app/app_main.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "platform/directory_listing.h"
#include "ring/element_folder.h"
#include "ring/ring_layout.h"
#include "ring/ring_history.h"
#include "ring/ring_main.h"
#include "ring/view_match.h"

// A folder may hold a million files: a file element takes 80 bytes of its folder's arena, its name
// lives in its folder's name store.
static_assert(sizeof(QREFile) <= 80, "a file element grew");

QREFile::QREFile(QREFolder* parent, QOXRing* ring, std::string_view name) : QRElement(parent, ring, name)
{
    Colour = App()->FileColour;
    DetermineHidden();
    ApplyVisibility();
}

QROutcome QREFile::Refresh()
{
    if (Ring->History != nullptr)
        return QROutcome::Kept; // a size history's file is never looked for on the disk
    if (!platform::IsFile(FullPath()))
        return QROutcome::Removed;
    RefreshLook();
    return QROutcome::Kept;
}

QROutcome QREFile::DeleteFromDisk()
{
    return DeleteThrough(&QRDeletion::DeleteFileFromDisk);
}

// A file takes the colour of the view its extension belongs to. Without a view it shows only
// while no view is on and unbound files are wanted; hidden files only while those are wanted.
void QREFile::ApplyVisibility()
{
    const QOXApp* app = App();
    QRViewMatchScope scope(*Ring);
    View = Ring->Matching->Find(Name);
    const bool anyEnabled = Ring->Matching->AnyEnabled();
    bool visible = true;
    if (View != nullptr) {
        Colour = View->Colour;
    } else {
        Colour = app->FileColour;
        visible = !anyEnabled && app->Settings.DisplayUnboundElements;
    }
    SetVisible(visible && (!Hidden || app->Settings.DisplayHiddenFiles) && !HiddenFromRing);
}

void QREFile::Activate()
{
    if (Ring->History != nullptr) {
        Engine()->Message(Ring->History->RefusalText());
        return;
    }
    Engine()->FileSystem->ShellOpen(FullPath());
}

std::int64_t QREFile::ComputeSize()
{
    if (!SizeKnown()) {
        platform::DirectoryEntry entry;
        const bool found = platform::LookUpEntry(FullPath(), entry);
        Size = !found ? -1 : QRLayout::SizesOnDisk() ? entry.Allocated : entry.Size;
    }
    return SizeForLayout();
}

QRFileInfo QREFile::Info() const
{
    platform::DirectoryEntry entry;
    if (!platform::LookUpEntry(FullPath(), entry))
        return {};
    return {true, entry.Created, entry.LastAccess, entry.Size, entry.Hidden, entry.ReadOnly, entry.Allocated};
}
