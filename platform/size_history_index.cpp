#include "platform/size_history_index.h"

#include <algorithm>

#include "platform/size_growth.h"

namespace platform {

SizeHistoryIndex::SizeHistoryIndex(const SizeHistory& history, const SizeCount& count)
    : History(history), Count(count), Children(count.Paths.size())
{
    for (std::uint32_t entry = 0; entry < count.Paths.size(); ++entry) {
        const std::string& path = history.Paths[count.Paths[entry]];
        if (path.empty())
            continue;
        const auto parent = history.IndexOf(ParentPath(path));
        if (!parent)
            continue;
        const auto at = std::lower_bound(count.Paths.begin(), count.Paths.end(), *parent);
        if (at != count.Paths.end() && *at == *parent)
            Children[static_cast<std::size_t>(at - count.Paths.begin())].push_back(entry);
    }
}

const SizeTotals* SizeHistoryIndex::TotalsOf(std::string_view path) const
{
    const auto index = History.IndexOf(path);
    return index ? Count.Find(*index) : nullptr;
}

bool SizeHistoryIndex::Holds(std::string_view folder) const
{
    return IsFolderPath(folder) && TotalsOf(folder) != nullptr;
}

std::vector<HistoryChild> SizeHistoryIndex::ChildrenOf(std::string_view folder) const
{
    std::vector<HistoryChild> children;
    const auto index = History.IndexOf(folder);
    if (!index || !IsFolderPath(folder))
        return children;
    const auto at = std::lower_bound(Count.Paths.begin(), Count.Paths.end(), *index);
    if (at == Count.Paths.end() || *at != *index)
        return children;
    for (const std::uint32_t entry : Children[static_cast<std::size_t>(at - Count.Paths.begin())]) {
        const std::string& path = History.Paths[Count.Paths[entry]];
        const bool isFolder = IsFolderPath(path);
        children.push_back({path.substr(folder.size()), isFolder, Count.Totals[entry]});
    }
    return children;
}

SizeTotals SizeHistoryIndex::SmallerFilesOf(std::string_view folder) const
{
    const SizeTotals* whole = TotalsOf(folder);
    if (whole == nullptr)
        return {};
    SizeTotals rest{whole->Bytes, whole->AllocatedBytes, whole->Files, 0};
    for (const HistoryChild& child : ChildrenOf(folder)) {
        rest.Bytes -= child.Totals.Bytes;
        rest.AllocatedBytes -= child.Totals.AllocatedBytes;
        rest.Files -= child.Folder ? child.Totals.Files : 1;
    }
    return {std::max<std::int64_t>(rest.Bytes, 0), std::max<std::int64_t>(rest.AllocatedBytes, 0),
            std::max<std::int64_t>(rest.Files, 0), 0};
}

} // namespace platform
