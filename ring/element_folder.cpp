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
#include "ring/folder_scan.h"
#include "ring/resource_iteration.h"
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
QRList<Element>* NewChildList(typename QRList<Element>::Ownership ownership)
{
    return QOXNew<QRList<Element>>(nullptr, QRList<Element>::Uniqueness::AllowDuplicates, ownership);
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

} // namespace

QREFolder::QREFolder(QREFolder* parent, QOXRing* ring, std::string_view name, QRLink link)
    : QRElement(parent, ring, name), Folders(NewChildList<QREFolder>(QRList<QREFolder>::Ownership::OwnsItems)),
      Files(NewChildList<QREFile>(QRList<QREFile>::Ownership::References)),
      Link(link == QRLink::SymbolicLink)
{
    Colour = App()->FolderColour;
    if (IsRoot())
        SetName(name); // a root keeps its name in its own store, which exists only now
    DetermineHidden();
}

// The subtree was announced as a whole by whoever frees it; the files go with their blocks.
QREFolder::~QREFolder()
{
    Folders->Destroy();
    Files->Destroy();
    if (WeightAnimation != nullptr)
        WeightAnimation->Destroy();
}

int QREFolder::MaxDepth(int depth) const
{
    if (!Visible)
        return depth;
    int deepest = std::max<int>(depth, Level);
    if (!Expanded)
        return deepest;
    for (const QREFolder* folder : *Folders)
        deepest = folder->MaxDepth(deepest);
    // Every file lies on the next band; whether one shows is all that counts, and the counts say it.
    return ShownFiles > 0 ? std::max(deepest, Level + 1) : deepest;
}

platform::ListingDetail QREFolder::ScanDetail() const
{
    // Sizes come from the same pass when they are wanted at once.
    return ReadsFileSizes() ? platform::ListingDetail::Sizes : platform::ListingDetail::Kinds;
}

// The listing comes in parts, and each part's entries are added as it arrives: a folder of many
// entries never needs a listing of all of them at once.
void QREFolder::Scan()
{
    if (Ring->History != nullptr) { // a ring on a size history reads the history, never the disk
        QRViewMatchScope matching(*Ring);
        AddEntries(Ring->History->ListingOf(*this), NamesOf(*this));
        Ring->History->SizeChildren(*this);
        return;
    }
    if (Ring->Scanning(*this))
        return; // the entries are on their way
    QRFolderScan(*this).Continue(QRFolderScan::Clock::time_point::max());
}

// Room for the new names is made at once, so that they share one block of the name store.
void QREFolder::AddEntries(const QRFolderListing& listing, const NameSet& known)
{
    QRViewMatchScope matching(*Ring);
    const auto isNew = [&](std::string_view name) { return known.empty() || !known.contains(name); };
    std::size_t bytes = 0;
    std::size_t files = 0;
    for (const QRFolderListing::Entry& entry : listing.Entries()) {
        if (!isNew(listing.NameOf(entry)))
            continue;
        bytes += entry.NameSize + 1;
        files += entry.Folder ? 0 : 1;
    }
    ChildNames.Reserve(bytes);
    FileArena.Reserve(files);
    const bool sizes = ReadsFileSizes();
    for (const QRFolderListing::Entry& entry : listing.Entries()) {
        const std::string_view name = listing.NameOf(entry);
        if (!isNew(name))
            continue;
        if (entry.Folder) {
            Attach(new QREFolder(this, Ring, name, entry.Link ? QRLink::SymbolicLink : QRLink::Plain));
        } else {
            QREFile* file = FileArena.Make(this, Ring, name);
            if (sizes)
                file->Size = entry.Size;
            Attach(file);
        }
    }
}

void QREFolder::Expand()
{
    Expanded = true;
    Ring->FitWanted = true;
    Scan();
    CompleteExpand();
}

void QREFolder::CompleteExpand()
{
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
    Ring->FinishScanOf(*this); // the whole folder, before descending into every sub-folder
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
    if (element->IsSummary() || element->Parent != this || !element->Attached)
        return;
    if (element->IsFolder())
        Drop(static_cast<QREFolder*>(element));
    else
        Drop(static_cast<QREFile*>(element));
    PackNames();
}

void QREFolder::AdoptFolder(QREFolder* folder)
{
    QRNameStore& home = folder->NameStore();
    folder->Parent = this;
    folder->MoveName(home, ChildNames);
    Attach(folder);
}

void QREFolder::Attach(QREFolder* folder)
{
    Folders->Add(folder);
    folder->Attached = true;
    Count(*folder, 1);
}

void QREFolder::Attach(QREFile* file)
{
    Files->Add(file);
    file->Attached = true;
    Count(*file, 1);
}

void QREFolder::Drop(QREFolder* folder)
{
    Forget(*folder);
    Folders->Delete(folder);
}

void QREFolder::Drop(QREFile* file)
{
    Forget(*file);
    Files->Delete(file);
    FileArena.Free(file);
}

// The child leaves the counts and the name store, and whoever refers to it (or below it) hears of
// its end while it is still whole.
void QREFolder::Forget(QRElement& child)
{
    Count(child, -1);
    child.Attached = false;
    ChildNames.Forget(child.Name);
    Ring->ElementFreed(&child);
}

void QREFolder::Count(const QRElement& child, int sign)
{
    const int shown = child.Visible ? sign : 0;
    if (child.IsFolder()) {
        const auto& folder = static_cast<const QREFolder&>(child);
        ShownFolders += shown;
        AddToTotals(shown + sign * folder.TotalFolders, sign * folder.TotalFiles);
    } else {
        ShownFiles += shown;
        AddToTotals(0, shown);
    }
}

void QREFolder::VisibilityChanged(const QRElement& child)
{
    const int change = child.Visible ? 1 : -1;
    if (child.IsFolder()) {
        ShownFolders += change;
        AddToTotals(change, 0);
    } else {
        ShownFiles += change;
        AddToTotals(0, change);
        LargestFileScale = 1.0f;
        WidestFileSector = 360.0f;
    }
}

void QREFolder::AddToTotals(std::int64_t folders, std::int64_t files)
{
    for (QREFolder* folder = this; folder != nullptr; folder = folder->Parent) {
        folder->TotalFolders += folders;
        folder->TotalFiles += files;
    }
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
    Ring->FinishScanOf(*this); // a refresh compares the children with the whole folder
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
            Drop(folder);
    }
    // While folders are counted, a file shows the size it has now, as its folder's total does.
    const bool newSizes = Settings().CountFolderSizesInBackground;
    for (int i = Files->LastIndex(); i >= 0; --i) {
        QREFile* file = Files->Get(i);
        const auto found = present.find(file->Name);
        if (found == present.end()) {
            Drop(file);
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
            Drop(folder);
    }
    for (int i = Files->LastIndex(); i >= 0; --i) {
        QREFile* file = Files->Get(i);
        if (file->DeleteSelected() == QROutcome::Removed)
            Drop(file);
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
    SetVisible((!Hidden || Settings().DisplayHiddenFiles) && !HiddenFromRing);
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
        // The whole size: what is hidden from the ring leaves the size shown, not the size.
        ForEachChild([&](QRElement* child) {
            if (child->Visible || child->HiddenFromRing) {
                child->ComputeSize();
                sum += child->WholeSizeForLayout();
            }
        });
        Size = sum == 0 ? -1 : sum;
    }
    return SizeForLayout();
}

// Only folders animate their weights.
void QREFolder::Animate()
{
    for (QREFolder* folder : *Folders)
        folder->Animate();
    if (WeightAnimation == nullptr)
        return;
    WeightAnimation->Tick();
    AnimatedWeight = WeightAnimation->Value();
    if (!WeightAnimation->Running()) {
        WeightAnimation->Destroy();
        WeightAnimation = nullptr;
        Ring->LayoutNeeded = false;
    }
}

QRElement* QREFolder::ChildNamed(std::string_view name) const
{
    QRElement* found = nullptr;
    ForEachChild([&](QRElement* child) {
        if (found == nullptr && child->Name == name)
            found = child;
    });
    return found;
}

QRElement* QREFolder::Descendant(std::string_view relative, QRPathWalk walk)
{
    QRElement* element = this;
    while (!relative.empty()) {
        if (!element->IsFolder())
            return nullptr;
        auto* folder = static_cast<QREFolder*>(element);
        if (walk == QRPathWalk::Expanding && !folder->Expanded)
            folder->Expand();
        else if (walk == QRPathWalk::Reading && !folder->Expanded)
            folder->Scan();
        const std::size_t slash = relative.find('/');
        const std::size_t length = slash == std::string_view::npos ? relative.size() : slash + 1;
        element = folder->ChildNamed(relative.substr(0, length));
        if (element == nullptr)
            return nullptr;
        relative.remove_prefix(length);
    }
    return element;
}

void QREFolder::SetWeightTarget(float target)
{
    if (WeightAnimation == nullptr)
        WeightAnimation = QOXNew<QRIteration>(nullptr);
    WeightAnimation->SetScalar(target, AnimatedWeight);
    WeightAnimation->Start(QRIteration::Sine, QRIteration::Forwards, Settings().AnimationSpeed);
    Ring->LayoutNeeded = true;
}

QRAttributes QREFolder::Attributes() const
{
    platform::DirectoryEntry entry;
    if (!platform::LookUpEntry(QOXFileSystem::ExcludeTrailingDelimiter(FullPath()), entry))
        return {};
    return {entry.Hidden, entry.ReadOnly};
}
