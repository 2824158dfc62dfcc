#include "platform/file_journal.h"

#include <sys/stat.h>

#include "platform/file_run.h"

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

std::string TrashInfoOf(const std::string& pathInTrash)
{
    const std::string trash = ParentOf(ParentOf(pathInTrash));
    return JoinPath(JoinPath(trash, "info"), NameOf(pathInTrash) + ".trashinfo");
}

} // namespace platform
