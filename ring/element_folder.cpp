#include "ring/element_folder.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "app/app_main.h"
#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "ring/folder_listing.h"
#include "ring/ring_history.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"
#include "ring/view_match.h"

namespace {

using platform::ListingResult;

const QASettings& Settings()
{
    return App()->Settings;
}

// Files know their sizes from the scan when asked to, and always while folders are counted.
bool ReadsFileSizes()
{
    return Settings().ComputeFileSizeAutomatically || Settings().CountFolderSizesInBackground;
}

template <class Element>
QRList<Element>* NewChildList()
{
    return QOXNew<QRList<Element>>(nullptr, QRList<Element>::Uniqueness::AllowDuplicates,
                                   QRList<Element>::Ownership::OwnsItems);
}

// Names of both kinds can share one set: a folder's name ends in "/", and a file's never holds one.
using NameSet = std::unordered_set<std::string_view>;

NameSet NamesOf(const QREFolder& folder)
{
    NameSet names;
    names.reserve(static_cast<std::size_t>(folder.Folders->Count() + folder.Files->Count()));
    folder.ForEachChild([&](const QRElement* child) { names.insert(child->Name); });
    return names;
}

// Every entry of a listing by name, with the size the listing read (-1 without sizes).
using EntrySizes = std::unordered_map<std::string_view, std::int64_t>;

EntrySizes SizesOf(const QRFolderListing& listing)
{
    EntrySizes sizes;
    sizes.reserve(listing.Entries().size());
    for (const QRFolderListing::Entry& entry : listing.Entries())
        sizes.emplace(listing.NameOf(entry), entry.Size);
    return sizes;
}

void ReportUnreadable(const std::string& path)
{
    Engine()->Console->AddLine("Cannot read folder \"" + path + "\"");
}

} // namespace

QREFolder::QREFolder(QREFolder* parent, QOXRing* ring, std::string_view name, QRLink link)
    : QRElement(parent, ring, name), Folders(NewChildList<QREFolder>()), Files(NewChildList<QREFile>()),
      Link(link == QRLink::SymbolicLink)
{
    Colour = App()->FolderColour;
    if (IsRoot())
        SetName(name); // a root keeps its name in its own store, which exists only now
    DetermineHidden();
}

QREFolder::~QREFolder()
{
    Folders->Destroy();
    Files->Destroy();
}

int QREFolder::MaxDepth(int depth) const
{
    if (!Visible)
        return depth;
    int deepest = std::max(depth, Level);
    if (Expanded)
        ForEachChild([&](const QRElement* child) { deepest = child->MaxDepth(deepest); });
    return deepest;
}

platform::ListingDetail QREFolder::ScanDetail() const
{
    // Sizes come from the same pass when they are wanted at once.
    return ReadsFileSizes() ? platform::ListingDetail::Sizes : platform::ListingDetail::Kinds;
}

// The listing comes in parts, and each part's entries are added as it arrives: a folder of many
// entries never needs a listing of all of them at once. A folder whose reading breaks off midway
// keeps the entries read before.
void QREFolder::Scan()
{
    QRViewMatchScope matching(*Ring);
    const NameSet known = NamesOf(*this);
    if (Ring->History != nullptr) { // a ring on a size history reads the history, never the disk
        AddEntries(Ring->History->ListingOf(*this), known);
        Ring->History->SizeChildren(*this);
        return;
    }
    QRFolderListing listing;
    const std::string path = FullPath();
    const auto add = [&](const QRFolderListing& part) { AddEntries(part, known); };
    if (listing.ReadInParts(path, ScanDetail(), add) == ListingResult::Unreadable)
        ReportUnreadable(path);
}

// Room for the new names is made at once, so that they share one block of the name store.
void QREFolder::AddEntries(const QRFolderListing& listing, const NameSet& known)
{
    QRViewMatchScope matching(*Ring);
    const auto isNew = [&](std::string_view name) { return known.empty() || !known.contains(name); };
    std::size_t bytes = 0;
    for (const QRFolderListing::Entry& entry : listing.Entries())
        bytes += isNew(listing.NameOf(entry)) ? entry.NameSize + 1 : 0;
    ChildNames.Reserve(bytes);
    const bool sizes = ReadsFileSizes();
    for (const QRFolderListing::Entry& entry : listing.Entries()) {
        const std::string_view name = listing.NameOf(entry);
        if (!isNew(name))
            continue;
        if (entry.Folder) {
            Folders->Add(new QREFolder(this, Ring, name, entry.Link ? QRLink::SymbolicLink : QRLink::Plain));
        } else {
            auto* file = new QREFile(this, Ring, name);
            if (sizes)
                file->Size = entry.Size;
            Files->Add(file);
        }
    }
}

void QREFolder::Expand()
{
    Expanded = true;
    Ring->FitWanted = true;
    Scan();
    if (Settings().ComputeFileSizeAutomatically)
        ComputeSize();
    FocusTarget();
    UpdateVisibility();
}

void QREFolder::Collapse()
{
    Expanded = false;
    Ring->FitWanted = true;
    SetWeightTarget(1.0f);
}

void QREFolder::ToggleExpanded()
{
    Expanded = !Expanded || IsRoot(); // the root never collapses
    if (Expanded)
        Expand();
    else
        Collapse();
}

// Descends the whole tree below, but never through a symbolic link: a link may lead back up
// (a loop) or out of the tree. The whole tree's visibility is worked out once, at the end.
void QREFolder::ExpandAll()
{
    QRViewMatchScope matching(*Ring);
    Ring->FitWanted = true;
    ExpandBelow();
    UpdateVisibility();
}

// What ExpandAll does below the top, in the same order, except that each folder ends with what
// UpdateVisibility would do for itself and its children but not for the subtrees of its
// sub-folders: those have seen to their own subtrees already, and walking every subtree again at
// every level would visit each element once per folder above it. A link's subtree was not
// expanded, so it is seen to here.
void QREFolder::ExpandBelow()
{
    Expanded = true;
    Scan();
    for (QREFolder* folder : *Folders) {
        if (!folder->Link)
            folder->ExpandBelow();
    }
    if (Settings().ComputeFileSizeAutomatically)
        ComputeSize();
    FocusTarget();
    ApplyVisibility();
    for (QREFolder* folder : *Folders) {
        if (folder->Link)
            folder->UpdateVisibility();
    }
    for (QREFile* file : *Files)
        file->ApplyVisibility();
}

// Size true, an expanded folder opens within its own angle: its weight is not widened.
void QREFolder::FocusTarget()
{
    if (IsRoot() || QRLayout::SizeTrue())
        return;
    const QASettings& settings = Settings();
    SetWeightTarget(settings.FocusFactorPerElement * static_cast<float>(VisibleChildCount()) +
                    settings.DefaultFocusFactor);
}

void QREFolder::RemoveChild(QRElement* element)
{
    if (element->IsSummary())
        return;
    if (element->IsFolder() && Folders->Contains(static_cast<QREFolder*>(element)))
        Folders->Delete(static_cast<QREFolder*>(element));
    else if (!element->IsFolder() && Files->Contains(static_cast<QREFile*>(element)))
        Files->Delete(static_cast<QREFile*>(element));
    PackNames();
}

void QREFolder::AdoptFolder(QREFolder* folder)
{
    QRNameStore& home = folder->NameStore();
    folder->Parent = this;
    folder->MoveName(home, ChildNames);
    Folders->Add(folder);
}

void QREFolder::PackNames()
{
    if (!ChildNames.Sparse())
        return;
    QRNameStore packed;
    packed.Reserve(ChildNames.BytesInUse());
    if (IsRoot())
        MoveName(ChildNames, packed);
    ForEachChild([&](QRElement* child) { child->MoveName(ChildNames, packed); });
    ChildNames = std::move(packed);
}

// One listing serves the whole folder: a child is still there when the listing holds an entry of
// its name and kind. A folder that cannot be read keeps its children as they are.
QROutcome QREFolder::RefreshEntries(QRRefreshDepth depth)
{
    if (Ring->History != nullptr)
        return QROutcome::Kept;
    QRFolderListing listing;
    const ListingResult result = listing.Read(FullPath(), ScanDetail());
    if (result == ListingResult::Missing)
        return QROutcome::Removed;
    if (result == ListingResult::Listed) {
        RefreshChildren(listing, depth);
        if (Expanded)
            AddEntries(listing, NamesOf(*this));
        PackNames();
    }
    RefreshLook();
    return QROutcome::Kept;
}

void QREFolder::RefreshChildren(const QRFolderListing& listing, QRRefreshDepth depth)
{
    const EntrySizes present = SizesOf(listing);
    const bool deep = depth == QRRefreshDepth::Subtree;
    // From the last to the first: a removal moves only children already visited.
    for (int i = Folders->LastIndex(); i >= 0; --i) {
        QREFolder* folder = Folders->Get(i);
        if (!present.contains(folder->Name) || (deep && folder->Refresh() == QROutcome::Removed))
            Folders->Delete(folder);
    }
    // While folders are counted, a file shows the size it has now, as its folder's total does.
    const bool newSizes = Settings().CountFolderSizesInBackground;
    for (int i = Files->LastIndex(); i >= 0; --i) {
        QREFile* file = Files->Get(i);
        const auto found = present.find(file->Name);
        if (found == present.end()) {
            Files->Delete(file);
            continue;
        }
        if (newSizes)
            file->Size = found->second;
        file->RefreshLook();
    }
}

QROutcome QREFolder::DeleteFromDisk()
{
    return DeleteThrough(&QRDeletion::DeleteFolderFromDisk);
}

QROutcome QREFolder::DeleteSelected()
{
    if (Selected)
        return DeleteFromDisk();
    for (int i = Folders->LastIndex(); i >= 0; --i) {
        QREFolder* folder = Folders->Get(i);
        if (folder->DeleteSelected() == QROutcome::Removed)
            Folders->Delete(folder);
    }
    for (int i = Files->LastIndex(); i >= 0; --i) {
        QREFile* file = Files->Get(i);
        if (file->DeleteSelected() == QROutcome::Removed)
            Files->Delete(file);
    }
    PackNames();
    return QROutcome::Kept;
}

void QREFolder::DeselectAll()
{
    Selected = false;
    ForEachChild([](QRElement* child) { child->DeselectAll(); });
}

void QREFolder::UpdateVisibility()
{
    QRViewMatchScope matching(*Ring);
    ApplyVisibility();
    ForEachChild([](QRElement* child) { child->UpdateVisibility(); });
    if (Expanded)
        FocusTarget();
}

void QREFolder::ApplyVisibility()
{
    Visible = !Hidden || Settings().DisplayHiddenFiles;
}

void QREFolder::Place(int level, float end, float start)
{
    QRElement::Place(level, end, start);
    QRLayout::PlaceChildren(*this, level, start, end);
}

std::int64_t QREFolder::ComputeSize()
{
    if (Settings().CountFolderSizesInBackground)
        return SizeForLayout(); // the total comes from the count of everything below
    if (!Settings().ComputeFolderSize) {
        Size = -1;
    } else if (!SizeKnown()) {
        std::int64_t sum = 0;
        ForEachChild([&](QRElement* child) {
            if (child->Visible)
                sum += child->ComputeSize();
        });
        Size = sum == 0 ? -1 : sum;
    }
    return SizeForLayout();
}

void QREFolder::Animate()
{
    ForEachChild([](QRElement* child) { child->Animate(); });
    QRElement::Animate();
}

int QREFolder::VisibleFolderCount() const
{
    return static_cast<int>(std::count_if(Folders->begin(), Folders->end(), [](const QREFolder* f) { return f->Visible; }));
}

int QREFolder::VisibleFileCount() const
{
    return static_cast<int>(std::count_if(Files->begin(), Files->end(), [](const QREFile* f) { return f->Visible; }));
}

std::int64_t QREFolder::TotalFolderCount() const
{
    std::int64_t total = VisibleFolderCount();
    for (const QREFolder* folder : *Folders)
        total += folder->TotalFolderCount();
    return total;
}

std::int64_t QREFolder::TotalFileCount() const
{
    std::int64_t total = VisibleFileCount();
    for (const QREFolder* folder : *Folders)
        total += folder->TotalFileCount();
    return total;
}

QRAttributes QREFolder::Attributes() const
{
    platform::DirectoryEntry entry;
    if (!platform::LookUpEntry(QOXFileSystem::ExcludeTrailingDelimiter(FullPath()), entry))
        return {};
    return {entry.Hidden, entry.ReadOnly};
}
