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
constexpr std::size_t kReadablePartBytes = 48;

std::uint64_t Fnv1a(const std::string& text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The last kReadablePartBytes of the path with "/" as "-" and anything but letters, digits, "."
// and "_" as "_", so that the name says which folder it is without being one.
std::string ReadablePart(const std::string& root)
{
    std::string part;
    for (const char c : root) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/')
            part += part.empty() || part.back() == '-' ? "" : "-";
        else
            part += std::isalnum(byte) != 0 || c == '.' || c == '_' ? c : '_';
    }
    while (!part.empty() && part.back() == '-')
        part.pop_back();
    if (part.size() > kReadablePartBytes)
        part = part.substr(part.size() - kReadablePartBytes);
    return part.empty() ? "root" : part;
}

bool MakeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/') + 1);
}

} // namespace

std::string SizeHistoryFolder()
{
    return StateFolder() + "sizes/";
}

std::string HistoryPathOf(const std::string& root, const std::string& folder)
{
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(root)));
    return folder + ReadablePart(root) + "-" + hash + kHistoryExtension;
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
    if (!MakeFolders(FolderOf(path))) {
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
