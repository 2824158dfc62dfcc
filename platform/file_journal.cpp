#include "platform/file_journal.h"

#include <sys/stat.h>

#include <set>

namespace platform {

EntryIdentity IdentityOf(const struct stat& status)
{
    return {status.st_dev, status.st_ino, static_cast<mode_t>(status.st_mode & S_IFMT), status.st_size,
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

bool IdentityOf(const std::string& path, EntryIdentity& identity)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return false;
    identity = IdentityOf(status);
    return true;
}

void FileJournal::Add(StepKind kind, const std::string& path, const std::string& from, mode_t mode)
{
    JournalStep step{kind, path, from, {}, mode};
    IdentityOf(path, step.Identity);
    Steps.push_back(std::move(step));
}

void FileJournal::AddCreated(const std::string& path, const EntryIdentity& identity)
{
    Steps.push_back({StepKind::Created, path, "", identity, 0});
}

void FileJournal::KeepPartialMove(std::size_t mark, const std::string& source, const std::string& target,
                                  const std::vector<RemovedEntry>& removed)
{
    std::set<std::string> files;
    for (const RemovedEntry& entry : removed) {
        if (!entry.Folder)
            files.insert(entry.Path);
    }
    const auto below = [](const std::string& path, const std::string& top) {
        return path.compare(0, top.size(), top) == 0 && (path.size() == top.size() || path[top.size()] == '/');
    };
    for (std::size_t i = mark; i < Steps.size(); ++i) {
        JournalStep& step = Steps[i];
        const std::string from = below(step.Path, target) ? source + step.Path.substr(target.size()) : "";
        if (step.Kind == StepKind::Created && files.contains(from)) {
            step.Kind = StepKind::Moved;
            step.From = from;
        }
    }
    for (const RemovedEntry& entry : removed) {
        if (entry.Folder && below(entry.Path, source))
            Steps.push_back({StepKind::Merged, target + entry.Path.substr(source.size()), entry.Path, {}, entry.Mode});
    }
}

} // namespace platform
