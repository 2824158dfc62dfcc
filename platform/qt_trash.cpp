#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/file_journal.h"
#include "platform/file_run.h"
#include "platform/trash.h"

namespace platform {

namespace {

constexpr const char* kTrashUnusable = "The trash cannot be used";
constexpr const char* kDanglingLink = "A link whose target is missing cannot go to the trash";

std::string UserDataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data != '\0')
        return data;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share";
}

void MakeFolders(const std::string& path)
{
    struct stat status {};
    if (path == "/" || ::stat(path.c_str(), &status) == 0)
        return;
    MakeFolders(ParentOf(path));
    ::mkdir(path.c_str(), S_IRWXU);
}

// The file system of the nearest existing folder at or above `path`.
bool DeviceOf(std::string path, dev_t& device)
{
    while (true) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0) {
            device = status.st_dev;
            return true;
        }
        if (path == "/" || path == ".")
            return false;
        path = ParentOf(path);
    }
}

// Entries on the file system of the user's data folder go to the trash there, which must consist of
// folders where it exists. The data folder itself is made when missing, as every desktop program
// would.
bool UserTrashUsable(const struct stat& entry)
{
    const std::string data = UserDataFolder();
    dev_t device = 0;
    if (!DeviceOf(data, device) || device != entry.st_dev)
        return true;
    MakeFolders(data);
    for (const char* part : {"Trash", "Trash/files", "Trash/info"}) {
        struct stat status {};
        if (::lstat(JoinPath(data, part).c_str(), &status) == 0 && !S_ISDIR(status.st_mode))
            return false;
    }
    return true;
}

bool Exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// A real place in a trash: an absolute path in its "files" folder, described in its "info" folder.
bool InTrash(const std::string& path)
{
    return !path.empty() && path.front() == '/' && NameOf(ParentOf(path)) == "files" && Exists(path) &&
           Exists(TrashInfoOf(path));
}

// Qt put the entry somewhere that is no trash (it does so when the trash cannot be made): it goes
// back, and what Qt made for it goes.
void TakeBack(const std::string& path, const std::string& misplaced)
{
    ::rename(misplaced.c_str(), path.c_str());
    const std::string info = TrashInfoOf(misplaced);
    ::unlink(info.c_str());
    ::rmdir(ParentOf(misplaced).c_str());
    ::rmdir(ParentOf(info).c_str());
}

} // namespace

bool QtTrash::MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason)
{
    struct stat entry {};
    struct stat target {};
    if (::lstat(path.c_str(), &entry) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (S_ISLNK(entry.st_mode) && ::stat(path.c_str(), &target) != 0) {
        reason = kDanglingLink;
        return false;
    }
    if (!UserTrashUsable(entry)) {
        reason = kTrashUnusable;
        return false;
    }
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.moveToTrash()) {
        reason = file.errorString().toStdString();
        return false;
    }
    pathInTrash = QFile::encodeName(file.fileName()).toStdString();
    if (InTrash(pathInTrash))
        return true;
    TakeBack(path, pathInTrash);
    reason = kTrashUnusable;
    return false;
}

} // namespace platform
