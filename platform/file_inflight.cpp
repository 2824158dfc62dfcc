#include "platform/file_inflight.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/percent_encoding.h"

namespace platform {

namespace {

constexpr std::size_t kLongestName = 255;
constexpr const char* kJournalStart = "file-operation-";
constexpr const char* kJournalEnd = ".inflight";
constexpr const char* kHeader = "orbivane file operation 1\n";
constexpr mode_t kOwnerOnly = S_IRWXU;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsJournalName(const std::string& name)
{
    return name.rfind(kJournalStart, 0) == 0 && EndsWith(name, kJournalEnd);
}

// A journal whose operation still runs is locked by it.
bool StillRunning(int journal)
{
    if (::flock(journal, LOCK_SH | LOCK_NB) == 0) {
        ::flock(journal, LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

std::string ReadAll(int file)
{
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(count));
    return text;
}

// The folders written into and the folders made, as one journal names them.
struct JournalLines {
    std::vector<std::string> Into;
    std::vector<LeftEntry> Made;
};

JournalLines ParseJournal(const std::string& text)
{
    JournalLines lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        std::istringstream words(line);
        std::string kind;
        std::string encoded;
        LeftEntry made;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        if (!(words >> kind))
            continue;
        if (kind == "made" && words >> device >> inode >> std::oct >> made.Mode >> encoded &&
            PercentDecoded(encoded, made.Path)) {
            made.Identity.Device = static_cast<dev_t>(device);
            made.Identity.Inode = static_cast<ino_t>(inode);
            lines.Made.push_back(made);
        } else if (std::string path; kind == "into" && words >> encoded && PercentDecoded(encoded, path)) {
            lines.Into.push_back(path);
        }
    }
    return lines;
}

void AddPartialFiles(const std::string& folder, std::set<std::string>& seen, std::vector<LeftEntry>& found)
{
    const Descriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> names;
    if (!opened.Valid() || NamesIn(opened.Get(), names) != 0)
        return;
    for (const std::string& name : names) {
        struct stat status {};
        const std::string path = JoinPath(folder, name);
        if (name.rfind(kPartialPrefix, 0) == 0 && !seen.contains(path) &&
            ::fstatat(opened.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(status.st_mode)) {
            seen.insert(path);
            found.push_back({path, IdentityOf(status), 0});
        }
    }
}

// A folder still as the copy made it: the same folder, owner-only, never given its mode.
bool StillOwnerOnly(const LeftEntry& folder, struct stat& status)
{
    return ::lstat(folder.Path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_dev == folder.Identity.Device && status.st_ino == folder.Identity.Inode &&
           (status.st_mode & 07777) == kOwnerOnly && folder.Mode != kOwnerOnly;
}

int RemovePartialFile(const LeftEntry& file)
{
    OpenedEntry entry;
    struct stat status {};
    int error = OpenParentOf(file.Path, entry);
    if (error == 0)
        error = StatusAt(entry.At, status);
    if (error != 0)
        return error == ENOENT ? 0 : error;
    if (IdentityOf(status) != file.Identity)
        return ESTALE;
    return ::unlinkat(entry.At.Folder, entry.At.Name.c_str(), 0) == 0 || errno == ENOENT ? 0 : errno;
}

int FinishFolder(const LeftEntry& folder)
{
    struct stat status {};
    if (!StillOwnerOnly(folder, status))
        return 0;
    OpenedEntry entry;
    Descriptor opened;
    int error = OpenParentOf(folder.Path, entry);
    if (error == 0)
        error = OpenFolderAt(entry.At, status, opened);
    if (error == 0 && ::fchmod(opened.Get(), folder.Mode) != 0)
        error = errno;
    return error;
}

} // namespace

std::string PartialName(const std::string& name, int attempt)
{
    std::string prefix = kPartialPrefix;
    if (attempt > 0)
        prefix += std::to_string(attempt) + "-";
    return prefix + CutName(name, kLongestName - prefix.size());
}

InFlightJournal::InFlightJournal(const std::string& folder) : Folder(folder) {}

// Made when first needed: an operation that only renames leaves nothing partial behind.
bool InFlightJournal::Started()
{
    if (File.Valid() || Folder.empty())
        return File.Valid();
    static int counter = 0;
    const std::string base = JoinPath(Folder, kJournalStart + std::to_string(::getpid()) + "-");
    Folder.clear(); // one attempt
    for (int attempt = 0; attempt < 100 && !File.Valid(); ++attempt) {
        Path = base + std::to_string(++counter) + kJournalEnd;
        File = Descriptor(::open(Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!File.Valid() && errno != EEXIST)
            break;
    }
    if (!File.Valid())
        return false;
    if (::flock(File.Get(), LOCK_EX) != 0 || !Append(kHeader)) {
        ::unlink(Path.c_str());
        File = Descriptor();
        return false;
    }
    ::fdatasync(File.Get());
    return true;
}

InFlightJournal::~InFlightJournal()
{
    if (File.Valid())
        ::unlink(Path.c_str());
}

void InFlightJournal::WritingInto(const std::string& folder)
{
    if (!Known.contains(folder) && Started() && Known.insert(folder).second)
        Append("into " + PercentEncoded(folder) + "\n");
}

void InFlightJournal::MadeFolder(const std::string& path, const struct stat& made, mode_t finalMode)
{
    if (!Started())
        return;
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%llu %llu %o ", static_cast<unsigned long long>(made.st_dev),
                  static_cast<unsigned long long>(made.st_ino), static_cast<unsigned>(finalMode));
    Append("made " + std::string(numbers) + PercentEncoded(path) + "\n");
    Known.insert(path); // its partial files are found through this line
}

// One write a line, appended whole: a kill between two lines leaves whole lines behind. A line
// that cannot be written (the journal's disk is full) is left out; the operation goes on.
bool InFlightJournal::Append(const std::string& line)
{
    return ::write(File.Get(), line.data(), line.size()) == static_cast<ssize_t>(line.size());
}

Leftovers FindLeftovers(const std::string& folder)
{
    Leftovers found;
    const Descriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> names;
    if (!opened.Valid() || NamesIn(opened.Get(), names) != 0)
        return found;
    std::vector<std::pair<std::string, JournalLines>> ended;
    std::set<std::string> running; // folders a running operation writes into: its files are not left
    for (const std::string& name : names) {
        const Descriptor journal(
            IsJournalName(name) ? ::openat(opened.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC) : -1);
        if (!journal.Valid())
            continue;
        const bool live = StillRunning(journal.Get());
        JournalLines lines = ParseJournal(ReadAll(journal.Get()));
        if (!live) {
            ended.emplace_back(JoinPath(folder, name), std::move(lines));
            continue;
        }
        running.insert(lines.Into.begin(), lines.Into.end());
        for (const LeftEntry& made : lines.Made)
            running.insert(made.Path);
    }
    std::set<std::string> seen;
    for (const auto& [journal, lines] : ended) {
        bool shared = false; // a folder of it is written into now: the journal waits for a later start
        for (const LeftEntry& made : lines.Made) {
            struct stat status {};
            shared = shared || running.contains(made.Path);
            if (running.contains(made.Path))
                continue;
            if (StillOwnerOnly(made, status))
                found.OwnerOnlyFolders.push_back(made);
            AddPartialFiles(made.Path, seen, found.PartialFiles);
        }
        for (const std::string& into : lines.Into) {
            shared = shared || running.contains(into);
            if (!running.contains(into))
                AddPartialFiles(into, seen, found.PartialFiles);
        }
        if (!shared)
            found.Journals.push_back(journal);
    }
    return found;
}

std::vector<FileFailure> CleanUp(const Leftovers& leftovers)
{
    std::vector<FileFailure> failures;
    const auto note = [&](const std::string& path, int error) {
        if (error == ESTALE)
            failures.push_back({path, "It changed since it was found and was left as it is"});
        else if (error != 0)
            failures.push_back({path, std::strerror(error)});
    };
    for (const LeftEntry& file : leftovers.PartialFiles)
        note(file.Path, RemovePartialFile(file));
    for (const LeftEntry& folder : leftovers.OwnerOnlyFolders)
        note(folder.Path, FinishFolder(folder));
    if (failures.empty()) {
        for (const std::string& journal : leftovers.Journals)
            ::unlink(journal.c_str());
    }
    return failures;
}

} // namespace platform
