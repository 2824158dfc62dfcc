#include "platform/size_growth.h"

#include <algorithm>

namespace platform {

std::vector<PathChange> ChangesBetween(const SizeCount& before, const SizeCount& after)
{
    std::vector<PathChange> changes;
    changes.reserve(std::max(before.Paths.size(), after.Paths.size()));
    std::size_t b = 0;
    std::size_t a = 0;
    while (b < before.Paths.size() || a < after.Paths.size()) {
        PathChange change;
        const bool takeBefore = a == after.Paths.size() || (b < before.Paths.size() && before.Paths[b] <= after.Paths[a]);
        const bool takeAfter = b == before.Paths.size() || (a < after.Paths.size() && after.Paths[a] <= before.Paths[b]);
        if (takeBefore) {
            change.Path = before.Paths[b];
            change.InBefore = true;
            change.Before = before.Totals[b++];
        }
        if (takeAfter) {
            change.Path = after.Paths[a];
            change.InAfter = true;
            change.After = after.Totals[a++];
        }
        changes.push_back(change);
    }
    return changes;
}

std::string_view ParentPath(std::string_view path)
{
    if (path.empty())
        return path;
    const std::string_view inside = path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    const std::size_t slash = inside.find_last_of('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::vector<RankedPath> Ranked(const SizeHistory& history, const std::vector<std::int64_t>& valueOf, std::size_t limit)
{
    // A folder is explained by a path directly below it that holds all of its value.
    std::vector<bool> explained(history.Paths.size(), false);
    for (std::uint32_t path = 0; path < history.Paths.size(); ++path) {
        if (valueOf[path] <= 0 || history.Paths[path].empty())
            continue;
        if (const auto parent = history.IndexOf(ParentPath(history.Paths[path])); parent && valueOf[*parent] == valueOf[path])
            explained[*parent] = true;
    }
    std::vector<RankedPath> ranked;
    for (std::uint32_t path = 0; path < history.Paths.size(); ++path)
        if (valueOf[path] > 0 && !explained[path] && !history.Paths[path].empty())
            ranked.push_back({path, valueOf[path]});
    const std::size_t kept = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept), ranked.end(),
                      [&](const RankedPath& x, const RankedPath& y) {
                          return x.Value != y.Value ? x.Value > y.Value : history.Paths[x.Path] < history.Paths[y.Path];
                      });
    ranked.resize(kept);
    return ranked;
}

std::vector<RankedPath> MostGrown(const SizeHistory& history, const std::vector<PathChange>& changes, std::size_t limit)
{
    std::vector<std::int64_t> growth(history.Paths.size(), 0);
    for (const PathChange& change : changes)
        growth[change.Path] = change.Growth();
    return Ranked(history, growth, limit);
}

std::vector<RankedPath> Largest(const SizeHistory& history, const SizeCount& count, std::size_t limit)
{
    std::vector<std::int64_t> size(history.Paths.size(), 0);
    for (std::size_t i = 0; i < count.Paths.size(); ++i)
        size[count.Paths[i]] = count.Totals[i].Bytes;
    return Ranked(history, size, limit);
}

} // namespace platform
