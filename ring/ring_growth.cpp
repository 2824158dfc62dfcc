#include "ring/ring_growth.h"

#include <algorithm>
#include <unordered_set>

#include "app/app_growth.h"
#include "app/app_main.h"
#include "platform/folder_count.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

QRRingGrowth::QRRingGrowth(std::int64_t since, std::unordered_map<std::string, platform::SizeTotals> then)
    : SinceTime(since), Then(std::move(then))
{
    Paths.reserve(Then.size());
    for (const auto& entry : Then)
        Paths.push_back(&entry.first);
    std::sort(Paths.begin(), Paths.end(), [](const std::string* a, const std::string* b) { return *a < *b; });
}

std::string RelativePathOf(const QRElement& element)
{
    std::vector<const QRElement*> steps;
    for (const QRElement* step = &element; step != nullptr && !step->IsRoot(); step = step->Parent)
        steps.push_back(step);
    std::string path;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        path += std::string_view((*step)->Name);
    return path;
}

// A file below the recorded size was never recorded: the count cannot tell whether it is new.
QRChange QRRingGrowth::ChangeAt(const QRElement& element, const std::string& relative) const
{
    QRChange change;
    change.After = element.Size;
    const auto then = Then.find(relative);
    if (then != Then.end())
        change.Before = then->second.Bytes;
    change.Recorded = element.IsFolder() || change.Before || element.Size >= platform::kSnapshotFileBytes;
    return change;
}

QRChange QRRingGrowth::ChangeOf(const QRElement& element) const
{
    return ChangeAt(element, RelativePathOf(element));
}

void QRRingGrowth::Collect(QREFolder& folder, const std::string& relative, std::vector<Painted>& painted) const
{
    painted.push_back({&folder, ChangeAt(folder, relative)});
    folder.ForEachChild([&](QRElement* child) {
        const std::string path = relative + child->Name;
        if (child->IsFolder())
            Collect(*static_cast<QREFolder*>(child), path, painted);
        else
            painted.push_back({child, ChangeAt(*child, path)});
    });
}

// Each change is measured against the largest of its kind on the ring (the ring's folder aside).
void QRRingGrowth::Paint(QOXRing& ring) const
{
    std::vector<Painted> painted;
    Collect(*ring.Root, "", painted);
    std::int64_t largestGrowth = 0;
    std::int64_t largestShrink = 0;
    for (const Painted& entry : painted) {
        if (entry.Element->IsRoot() || !entry.Change.Before || entry.Change.After < 0)
            continue;
        largestGrowth = std::max(largestGrowth, entry.Change.After - *entry.Change.Before);
        largestShrink = std::max(largestShrink, *entry.Change.Before - entry.Change.After);
    }
    for (const Painted& entry : painted) {
        const QRChange& change = entry.Change;
        if (!change.Recorded || change.After < 0)
            entry.Element->Colour = GrowthColour({});
        else
            entry.Element->Colour = GrowthColour(GrowthOf(change.Before, change.After, largestGrowth, largestShrink));
    }
}

void QRRingGrowth::Unpaint(QREFolder& folder)
{
    folder.Colour = App()->FolderColour;
    for (QREFolder* child : *folder.Folders)
        Unpaint(*child);
}

QRRemoved QRRingGrowth::RemovedFrom(const QREFolder& folder) const
{
    if (!folder.Expanded)
        return {};
    const std::string relative = RelativePathOf(folder);
    std::unordered_set<std::string_view> present;
    folder.ForEachChild([&](const QRElement* child) { present.insert(child->Name.View()); });
    QRRemoved removed;
    auto at = std::upper_bound(Paths.begin(), Paths.end(), relative, [](const std::string& a, const std::string* b) { return a < *b; });
    for (; at != Paths.end() && (*at)->starts_with(relative); ++at) {
        const std::string& path = **at;
        const std::string_view name = std::string_view(path).substr(relative.size());
        const std::size_t slash = name.find('/');
        if (slash != std::string_view::npos && slash + 1 != name.size())
            continue; // deeper down
        if (!present.contains(name)) {
            ++removed.Items;
            removed.Bytes += Then.at(path).Bytes;
        }
    }
    return removed;
}
