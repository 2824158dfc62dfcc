#include "platform/size_history.h"

#include <algorithm>
#include <ctime>

namespace platform {

namespace {

constexpr std::int64_t kSecondsPerYear = 365 * 24 * 60 * 60;

// Year and month of a moment in UTC, as one number that grows by one a month.
std::int64_t MonthOf(std::int64_t time)
{
    const std::time_t moment = static_cast<std::time_t>(time);
    std::tm parts{};
    if (::gmtime_r(&moment, &parts) == nullptr)
        return time / (31 * 24 * 60 * 60);
    return static_cast<std::int64_t>(parts.tm_year) * 12 + parts.tm_mon;
}

// Every count's paths through `map` (old index to new); the map keeps the order of paths.
void RemapCounts(SizeHistory& history, const std::vector<std::uint32_t>& map)
{
    for (SizeCount& count : history.Counts)
        for (std::uint32_t& path : count.Paths)
            path = map[path];
}

} // namespace

const SizeTotals* SizeCount::Find(std::uint32_t path) const
{
    const auto found = std::lower_bound(Paths.begin(), Paths.end(), path);
    if (found == Paths.end() || *found != path)
        return nullptr;
    return &Totals[static_cast<std::size_t>(found - Paths.begin())];
}

std::optional<std::uint32_t> SizeHistory::IndexOf(std::string_view path) const
{
    const auto found = std::lower_bound(Paths.begin(), Paths.end(), path);
    if (found == Paths.end() || *found != path)
        return std::nullopt;
    return static_cast<std::uint32_t>(found - Paths.begin());
}

const SizeCount* SizeHistory::Newest() const
{
    return Counts.empty() ? nullptr : &Counts.back();
}

const SizeCount* SizeHistory::NewestComplete() const
{
    return CompleteAtOrBefore(INT64_MAX);
}

const SizeCount* SizeHistory::CompleteAtOrBefore(std::int64_t time) const
{
    for (auto count = Counts.rbegin(); count != Counts.rend(); ++count)
        if (count->Extent == CountExtent::Complete && count->Time <= time)
            return &*count;
    return nullptr;
}

const SizeCount* SizeHistory::PreviousComplete() const
{
    const SizeCount* newest = NewestComplete();
    return newest == nullptr ? nullptr : CompleteAtOrBefore(newest->Time - 1);
}

bool IsHistoryPath(std::string_view path)
{
    if (path.size() > kMaxPathBytes || path.find('\0') != std::string_view::npos)
        return false;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::string_view name = path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (name.empty() || name == "." || name == "..")
            return false;
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    return true;
}

std::int64_t AddCount(SizeHistory& history, std::int64_t time, CountExtent extent, std::vector<SizeEntry> entries,
              std::optional<std::int64_t> replaces)
{
    std::stable_sort(entries.begin(), entries.end(), [](const SizeEntry& a, const SizeEntry& b) { return a.Path < b.Path; });
    // Of two entries for one path the later one holds.
    auto last = std::unique(entries.rbegin(), entries.rend(), [](const SizeEntry& a, const SizeEntry& b) { return a.Path == b.Path; });
    entries.erase(entries.begin(), last.base());
    if (replaces)
        std::erase_if(history.Counts, [&](const SizeCount& count) { return count.Time == *replaces; });
    while (std::any_of(history.Counts.begin(), history.Counts.end(), [&](const SizeCount& count) { return count.Time == time; }))
        ++time;

    // The merged path table, and where the old paths and the new entries went in it.
    std::vector<std::string> merged;
    merged.reserve(history.Paths.size() + entries.size());
    std::vector<std::uint32_t> oldToMerged(history.Paths.size());
    SizeCount count;
    count.Time = time;
    count.Extent = extent;
    count.Paths.reserve(entries.size());
    count.Totals.reserve(entries.size());
    std::size_t old = 0;
    for (SizeEntry& entry : entries) {
        for (; old < history.Paths.size() && history.Paths[old] < entry.Path; ++old) {
            oldToMerged[old] = static_cast<std::uint32_t>(merged.size());
            merged.push_back(std::move(history.Paths[old]));
        }
        const auto index = static_cast<std::uint32_t>(merged.size());
        if (old < history.Paths.size() && history.Paths[old] == entry.Path)
            oldToMerged[old++] = index;
        merged.push_back(std::move(entry.Path));
        count.Paths.push_back(index);
        count.Totals.push_back(entry.Totals);
    }
    for (; old < history.Paths.size(); ++old) {
        oldToMerged[old] = static_cast<std::uint32_t>(merged.size());
        merged.push_back(std::move(history.Paths[old]));
    }
    history.Paths = std::move(merged);
    RemapCounts(history, oldToMerged);
    const auto at = std::upper_bound(history.Counts.begin(), history.Counts.end(), time,
                                     [](std::int64_t t, const SizeCount& c) { return t < c.Time; });
    history.Counts.insert(at, std::move(count));
    return time;
}

std::vector<SizeEntry> EntriesOf(const CountSnapshot& snapshot)
{
    std::vector<SizeEntry> entries;
    entries.reserve(snapshot.Folders.size() + snapshot.Files.size());
    for (const CountedFolder& folder : snapshot.Folders)
        entries.push_back({folder.Folder,
                           {folder.Totals.Bytes, folder.Totals.AllocatedBytes, folder.Totals.Files, folder.Totals.Folders}});
    for (const CountedFile& file : snapshot.Files)
        entries.push_back({file.Path, {file.Bytes, file.AllocatedBytes, 0, 0}});
    return entries;
}

void BoundHistory(SizeHistory& history, int newest)
{
    std::vector<SizeCount>& counts = history.Counts;
    if (counts.empty())
        return;
    SizeCount newestCount = std::move(counts.back());
    counts.pop_back();
    std::erase_if(counts, [](const SizeCount& count) { return count.Extent == CountExtent::Partial; });
    counts.push_back(std::move(newestCount));
    const std::size_t keptNewest = static_cast<std::size_t>(std::max(1, newest));
    const std::size_t older = counts.size() > keptNewest ? counts.size() - keptNewest : 0;
    const std::int64_t yearAgo = counts.back().Time - kSecondsPerYear;
    std::vector<bool> keep(counts.size(), true);
    std::optional<std::int64_t> monthKept;
    for (std::size_t i = 0; i < older; ++i) {
        const std::int64_t month = MonthOf(counts[i].Time);
        keep[i] = counts[i].Time >= yearAgo && monthKept != month;
        if (keep[i])
            monthKept = month;
    }
    std::vector<SizeCount> kept;
    kept.reserve(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (keep[i])
            kept.push_back(std::move(counts[i]));
    counts = std::move(kept);
    DropUnusedPaths(history);
}

void DropUnusedPaths(SizeHistory& history)
{
    std::vector<bool> used(history.Paths.size(), false);
    for (const SizeCount& count : history.Counts)
        for (const std::uint32_t path : count.Paths)
            used[path] = true;
    std::vector<std::uint32_t> map(history.Paths.size(), 0);
    std::uint32_t next = 0;
    for (std::size_t path = 0; path < history.Paths.size(); ++path) {
        map[path] = next;
        if (!used[path])
            continue;
        if (next != path)
            history.Paths[next] = std::move(history.Paths[path]);
        ++next;
    }
    history.Paths.resize(next);
    RemapCounts(history, map);
}

} // namespace platform
