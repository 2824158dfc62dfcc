// orbivane-sizes' work: the count, the history it joins and the report.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/paths.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "tools/sizes/sizes.h"

namespace sizes {

namespace {


std::string Prefix()
{
    return "orbivane-sizes: ";
}

// The folder as the program's rings name it: absolute, without "." and ".." steps, ending in "/".
std::string RootOf(const std::string& folder)
{
    std::error_code error;
    std::filesystem::path path(folder);
    if (!path.is_absolute())
        path = std::filesystem::current_path(error) / path;
    return platform::WithTrailingSlash(path.lexically_normal().string());
}

platform::FolderTotals RootTotals(const platform::CountSnapshot& snapshot)
{
    return !snapshot.Folders.empty() && snapshot.Folders.front().Folder.empty() ? snapshot.Folders.front().Totals
                                                                              : platform::FolderTotals{};
}

// The history to compare with, read before this count joins it; false after saying why not.
bool ReadBase(const Options& options, const std::string& root, const std::string& path, platform::SizeHistory& history,
              std::ostream& err)
{
    const platform::HistoryFileRead read = platform::ReadHistoryFile(path, history);
    if (read.Outcome == platform::HistoryRead::Missing) {
        err << Prefix() << "no size history of '" << options.Folder << "' yet (record one with --record)\n";
        return false;
    }
    if (read.Outcome == platform::HistoryRead::Refused) {
        err << Prefix() << "cannot read size history '" << path << "': " << read.Problem << '\n';
        return false;
    }
    if (history.Root != root) {
        err << Prefix() << "'" << path << "' is the size history of '" << history.Root << "', not of '" << root << "'\n";
        return false;
    }
    return true;
}

// The count the growth is measured from; none after saying why.
const platform::SizeCount* BaseCount(const Options& options, const platform::SizeHistory& history, std::ostream& err)
{
    const platform::SizeCount* base = options.Base == Since::Previous ? history.NewestComplete()
                                                                       : history.CompleteAtOrBefore(options.SinceTime);
    if (base != nullptr)
        return base;
    const platform::SizeCount* first = nullptr;
    for (const platform::SizeCount& count : history.Counts)
        if (first == nullptr && count.Extent == platform::CountExtent::Complete)
            first = &count;
    if (first == nullptr)
        err << Prefix() << "the size history of '" << options.Folder << "' holds no complete count\n";
    else
        err << Prefix() << "no count of '" << options.Folder << "' was recorded on or before " << options.SinceText
            << " (the first is from " << LocalTimeText(first->Time) << ")\n";
    return nullptr;
}

bool IsFolder(const std::string& folder, std::ostream& err)
{
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        err << Prefix() << "cannot access '" << folder << "': " << std::strerror(errno) << '\n';
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        err << Prefix() << "'" << folder << "' is not a folder\n";
        return false;
    }
    return true;
}

} // namespace

int Run(const Options& options, std::ostream& out, std::ostream& err, std::int64_t now)
{
    if (!IsFolder(options.Folder, err))
        return kExitTrouble;
    const std::string root = RootOf(options.Folder);
    const std::string historyPath = options.History.empty() ? platform::HistoryPathOf(root, platform::SizeHistoryFolder())
                                                            : options.History;
    Report report;
    report.Root = root;
    std::int64_t baseTime = 0;
    if (options.Base != Since::None) {
        if (!ReadBase(options, root, historyPath, report.History, err))
            return kExitTrouble;
        const platform::SizeCount* base = BaseCount(options, report.History, err);
        if (base == nullptr)
            return kExitTrouble;
        baseTime = base->Time;
    }

    const platform::CountSnapshot snapshot = platform::CountWhole(root, options.Crossing);
    report.Totals = RootTotals(snapshot);
    int code = kExitOk;
    if (report.Totals.Unreadable > 0) {
        err << Prefix() << report.Totals.Unreadable << (report.Totals.Unreadable == 1 ? " folder" : " folders") << " below '"
            << options.Folder << "' could not be read; the sizes leave them out\n";
        code = kExitTrouble;
    }
    if (options.Record) {
        platform::CountRecord record{root, now, platform::CountExtent::Complete, platform::EntriesOf(snapshot), options.Keep, {}};
        const platform::RecordReport recorded = platform::RecordCount(historyPath, record);
        if (!recorded.Problem.empty()) {
            err << Prefix() << recorded.Problem << '\n';
            code = kExitTrouble;
        }
    }

    const bool reportAsked = !options.Record || options.Base != Since::None || options.Top || options.Output == Format::Json;
    if (!reportAsked)
        return code;
    report.History.Root = root;
    const std::int64_t time = platform::AddCount(report.History, now, platform::CountExtent::Complete, platform::EntriesOf(snapshot));
    report.Now = report.History.CompleteAtOrBefore(time);
    if (options.Base == Since::None) {
        WriteTotals(out, options, report);
        return code;
    }
    report.Base = report.History.CompleteAtOrBefore(baseTime);
    WriteGrowth(out, options, report);
    return code;
}

} // namespace sizes
