#include "ring/ring_sizes.h"

#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/resource_iteration.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"

namespace {

// Whether `known` is the relative path of the child `name` of the folder at `parent`.
bool IsChildPath(const std::string& known, const std::string& parent, const std::string& name)
{
    return known.size() == parent.size() + name.size() && known.compare(0, parent.size(), parent) == 0 &&
           known.compare(parent.size(), name.size(), name) == 0;
}

} // namespace

// The layout gave each visible child a part of its folder's sector proportional to weight × share,
// so a share is read back as the child's width divided by its weight; the shares read back are
// scaled to sum to 1, as the shares the sizes give do. A child never placed has none and takes its
// new share at once.
QRShareBlend::QRShareBlend(const QREFolder& folder, float speed) : Animation(QOXNew<QRIteration>(nullptr))
{
    float shares = 0.0f;
    folder.ForEachChild([&](const QRElement* child) {
        const float width = child->EndAngle - child->StartAngle;
        const float weight = QRLayout::LayoutWeight(*child);
        if (child->Visible && width > 0.0f && weight > 0.0f) {
            From[child] = width / weight;
            shares += From[child];
        }
    });
    for (auto& [child, share] : From)
        share /= shares;
    Animation->SetScalar(1.0f, 0.0f);
    Animation->Start(QRIteration::Sine, QRIteration::Forwards, speed);
}

QRShareBlend::~QRShareBlend()
{
    Animation->Destroy();
}

bool QRShareBlend::Tick()
{
    Animation->Tick();
    return Animation->Running();
}

float QRShareBlend::Shown(const QRElement& child, float share) const
{
    const auto from = From.find(&child);
    if (from == From.end())
        return share;
    return from->second + (share - from->second) * Animation->CurveValue();
}

QRRingSizes::QRRingSizes(QOXRing& ring, platform::FolderCounter& counter, platform::FolderWatcher& watcher,
                         platform::VolumeCrossing crossing, QRCountHistory* history)
    : Crossing(crossing), Watch(watcher), Ring(ring), Counter(counter), History(history)
{
}

QRRingSizes::~QRRingSizes()
{
    ForgetTree();
}

// The history hears of the count first, so that what was counted is kept.
void QRRingSizes::ForgetTree()
{
    if (Tree == 0)
        return;
    if (History != nullptr)
        History->Leaving(Tree, Counter.Progress(Tree));
    Counter.ForgetTree(Tree);
}

void QRRingSizes::RestartTree(platform::CountStanding standing)
{
    ForgetTree();
    Recorded = History != nullptr ? History->Recorded(Ring.Folder) : nullptr;
    Tree = Counter.StartTree(Ring.Folder, Crossing, standing);
    TreeFolder = Ring.Folder;
    LastProgress = {true, 0};
    Standing = standing;
    Entries.clear();
    ByTicket.clear();
    Urgent.clear();
    Synced = false;
}

void QRRingSizes::Sync(platform::CountStanding standing)
{
    if (Tree == 0 || Ring.Folder != TreeFolder)
        RestartTree(standing); // a new ring, or one gone up a level
    if (standing != Standing) {
        Counter.SetStanding(Tree, standing);
        Standing = standing;
    }
    if (Synced && Ring.LayoutCount == SyncedLayout)
        return; // the tree of elements is as it was at the last layout
    Synced = true;
    SyncedLayout = Ring.LayoutCount;
    Walk walk;
    Visit(*Ring.Root, "", false, walk);
    if (!walk.Wants.empty())
        Counter.Want(Tree, walk.Wants);
    if (walk.Urgent != Urgent) {
        Urgent = walk.Urgent;
        Counter.SetUrgent(Tree, Urgent);
    }
    Watch.Follow(walk.Expanded);
}

// Every folder element: asked about once (again when its path changed), the expanded ones (but
// the root, which always is) put first, and watched.
void QRRingSizes::Visit(QREFolder& folder, const std::string& relative, bool behindLink, Walk& walk)
{
    const Entry& entry = Register(folder, relative, behindLink, walk);
    const bool counted = entry.Count.State != QRCountState::Link && entry.Count.State != QRCountState::BehindLink;
    if (folder.Expanded) {
        walk.Expanded.push_back(&folder);
        if (!folder.IsRoot() && counted)
            walk.Urgent.push_back(relative);
    }
    for (QREFolder* child : *folder.Folders) {
        const auto known = Entries.find(child);
        if (known != Entries.end() && IsChildPath(known->second.Relative, relative, child->Name))
            Visit(*child, known->second.Relative, !counted, walk);
        else
            Visit(*child, relative + child->Name, !counted, walk);
    }
}

QRRingSizes::Entry& QRRingSizes::Register(QREFolder& folder, const std::string& relative, bool behindLink, Walk& walk)
{
    auto [found, made] = Entries.try_emplace(&folder);
    Entry& entry = found->second;
    if (!made && entry.Relative == relative)
        return entry;
    if (!made && entry.Count.State != QRCountState::Link && entry.Count.State != QRCountState::BehindLink)
        Counter.Unwant(Tree, entry.Relative); // renamed or moved: asked about under its new path
    if (made) {
        entry.Folder = &folder;
        entry.Ticket = NextTicket++;
        ByTicket[entry.Ticket] = &folder;
    }
    entry.Relative = relative;
    if (behindLink) {
        entry.Count = {QRCountState::BehindLink, {}, {}};
    } else if (folder.Link) {
        entry.Count = {QRCountState::Link, {}, {}};
        folder.Size = 0;
        LayoutWanted = true;
    } else {
        if (entry.Count.State != QRCountState::Known) {
            entry.Count = {QRCountState::Counting, {}, {}};
            ShowRecorded(entry);
        }
        walk.Wants.push_back({relative, entry.Ticket});
    }
    return entry;
}

void QRRingSizes::ShowRecorded(Entry& entry)
{
    if (Recorded == nullptr)
        return;
    const auto recorded = Recorded->Folders.find(entry.Relative);
    if (recorded == Recorded->Folders.end())
        return;
    entry.Count.Totals = recorded->second;
    entry.Count.RecordedAt = Recorded->Time;
    if (entry.Folder->Size != recorded->second.Bytes) {
        entry.Folder->Size = recorded->second.Bytes;
        LayoutWanted = true;
    }
}

void QRRingSizes::Apply(const platform::CountResult& result)
{
    if (result.Tree != Tree)
        return;
    const auto folder = ByTicket.find(result.Ticket);
    if (folder == ByTicket.end())
        return;
    Entry& entry = Entries.at(folder->second);
    entry.Count = {QRCountState::Known, result.Totals, {}};
    TakeMeasure(entry);
}

// The folder's size is its counted total, apparent or on the disk as the setting says.
void QRRingSizes::TakeMeasure(Entry& entry)
{
    const platform::FolderTotals& totals = entry.Count.Totals;
    const std::int64_t bytes = QRLayout::SizesOnDisk() ? totals.AllocatedBytes : totals.Bytes;
    if (entry.Folder->Size == bytes)
        return;
    if (entry.Folder->Parent != nullptr)
        StartBlend(*entry.Folder->Parent);
    entry.Folder->Size = bytes;
    LayoutWanted = true;
}

void QRRingSizes::Remeasure()
{
    for (auto& [element, entry] : Entries)
        if (entry.Count.State == QRCountState::Known)
            TakeMeasure(entry);
}

// A blend already under way starts again from where the children are now.
void QRRingSizes::StartBlend(const QREFolder& folder)
{
    const float speed = App()->Settings.AnimationSpeed;
    if (speed <= 0.0f)
        return; // the weights do not move either: the new sizes show at once
    Blends[&folder] = std::make_unique<QRShareBlend>(folder, speed);
}

// One layout for what changed this frame; none of its own while the weights move, since the ring's
// update lays it out then anyway. (The ring's flag is not raised here: only a weight animation
// that stops lowers it.)
void QRRingSizes::Animate()
{
    if (!Blends.empty()) {
        std::erase_if(Blends, [](const auto& blend) { return !blend.second->Tick(); });
        LayoutWanted = true; // the last step too, so that the shares arrive exactly
    }
    if (LayoutWanted && !Ring.LayoutNeeded)
        Ring.Relayout();
    LayoutWanted = false;
}

const QRShareBlend* QRRingSizes::BlendOf(const QREFolder& folder) const
{
    if (Blends.empty())
        return nullptr;
    const auto blend = Blends.find(&folder);
    return blend != Blends.end() ? blend->second.get() : nullptr;
}

QRFolderCount QRRingSizes::CountOf(const QREFolder& folder) const
{
    const auto entry = Entries.find(&folder);
    return entry != Entries.end() ? entry->second.Count : QRFolderCount{};
}

platform::CountProgress QRRingSizes::Progress()
{
    if (const std::optional<platform::CountProgress> progress = Counter.TryProgress(Tree))
        LastProgress = *progress;
    if (!LastProgress.Busy)
        Recorded.reset();
    return LastProgress;
}

std::optional<std::int64_t> QRRingSizes::RecordedTime() const
{
    return Recorded != nullptr ? std::optional<std::int64_t>(Recorded->Time) : std::nullopt;
}

void QRRingSizes::Refreshed()
{
    Counter.Recheck(Tree);
}

void QRRingSizes::FolderChanged(const QREFolder& folder)
{
    const auto entry = Entries.find(&folder);
    if (entry == Entries.end())
        return;
    const QRCountState state = entry->second.Count.State;
    if (state == QRCountState::Counting || state == QRCountState::Known)
        Counter.Recount(Tree, entry->second.Relative);
}

// Called for an element about to be freed with its subtree, while the ring counts.
void QRRingSizes::ElementFreed(const QRElement* element)
{
    if (element->IsFolder())
        ForgetFolders(static_cast<const QREFolder&>(*element));
    if (Blends.empty() || element->Parent == nullptr)
        return;
    if (const auto blend = Blends.find(element->Parent); blend != Blends.end())
        blend->second->Forget(element);
}

// The folder and every folder below it.
void QRRingSizes::ForgetFolders(const QREFolder& folder)
{
    if (const auto entry = Entries.find(&folder); entry != Entries.end()) {
        const QRCountState state = entry->second.Count.State;
        if (state == QRCountState::Counting || state == QRCountState::Known)
            Counter.Unwant(Tree, entry->second.Relative);
        ByTicket.erase(entry->second.Ticket);
        Entries.erase(entry);
    }
    Watch.ElementFreed(&folder);
    Blends.erase(&folder);
    for (const QREFolder* child : *folder.Folders)
        ForgetFolders(*child);
}

// Files keep their sizes only where the scan would have read them.
void QRRingSizes::ClearSizes()
{
    const bool fileSizes = App()->Settings.ComputeFileSizeAutomatically;
    for (auto& [element, entry] : Entries) {
        entry.Folder->Size = -1;
        if (!fileSizes)
            for (QREFile* file : *entry.Folder->Files)
                file->Size = -1;
    }
}
