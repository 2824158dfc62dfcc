#include "platform/size_history_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/program_folder.h"
#include "platform/size_history_file.h"

namespace platform {

namespace {

constexpr int kWriteAttempts = 3;

} // namespace

std::string SizeHistoryFolder()
{
    return StateFolder() + "sizes/";
}

std::string HistoryPathOf(const std::string& root, const std::string& folder)
{
    return StateFileOf(root, folder, kHistoryExtension);
}

std::string ThisHost()
{
    char name[256]{};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

RecordReport RecordCount(const std::string& path, const CountRecord& record)
{
    RecordReport report;
    if (!MakeStateFolders(path.substr(0, path.find_last_of('/') + 1))) {
        report.Problem = "Size history \"" + path + "\" cannot be written: " + std::strerror(errno);
        return report;
    }
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        SizeHistory history;
        HistoryFileRead read = ReadHistoryFile(path, history);
        if (read.Outcome == HistoryRead::Read && history.Root != record.Root) {
            read.Outcome = HistoryRead::Refused;
            read.Problem = "it is the history of \"" + history.Root + "\"";
            history = {};
        }
        if (read.Outcome == HistoryRead::Refused) {
            const std::string aside = path + ".damaged";
            if (::rename(path.c_str(), aside.c_str()) != 0) {
                report.Problem = "Size history \"" + path + "\" could not be read (" + read.Problem + ") and is left as it is.";
                return report;
            }
            report.Problem = "Size history \"" + path + "\" could not be read (" + read.Problem + "); it was set aside as \"" +
                             aside + "\" and a new one begun.";
            read.Stamp = StampOfFile(path);
        }
        history.Root = record.Root;
        history.Host = ThisHost();
        report.Time = AddCount(history, record.Time, record.Extent, record.Entries, record.Replaces);
        BoundHistory(history, record.Keep);
        const HistoryFileWrite write = WriteHistoryFile(path, history, read.Stamp);
        if (write.Outcome == HistoryWrite::Written) {
            report.Recorded = true;
            return report;
        }
        if (write.Outcome == HistoryWrite::Failed) {
            report.Problem = "Size history \"" + path + "\" could not be written: " + write.Problem;
            return report;
        }
    }
    report.Problem = "Size history \"" + path + "\" was not written: other programs kept writing it.";
    return report;
}

} // namespace platform
