#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/file_entry.h"
#include "platform/percent_encoding.h"

namespace platform {

namespace {

constexpr std::size_t kLongestName = 255;
constexpr const char* kInfoEnd = ".trashinfo";
constexpr const char* kSizesName = "directorysizes";
constexpr int kMostNames = 100000;

std::string RealPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved != nullptr ? std::string(resolved.get()) : path;
}

std::string DataHome()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return data;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share";
}

std::string Unusable(const std::string& folder, int error)
{
    return "The trash \"" + folder + "\" cannot be used: " + std::strerror(error);
}

std::string LocalTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The space a folder and all it holds take on the disk, as the trash's folder sizes count it.
std::int64_t DiskUsage(int parent, const std::string& name)
{
    struct stat status {};
    if (::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;
    std::int64_t bytes = static_cast<std::int64_t>(status.st_blocks) * 512;
    Descriptor folder;
    std::vector<std::string> names;
    if (!S_ISDIR(status.st_mode) || OpenFolderAt({parent, name, name}, status, folder) != 0 ||
        NamesIn(folder.Get(), names) != 0)
        return bytes;
    for (const std::string& child : names)
        bytes += DiskUsage(folder.Get(), child);
    return bytes;
}

// Writes the whole text beside the file and renames it into place, so that two programs updating
// it at once never leave half a file.
void ReplaceFile(const std::string& path, const std::string& text)
{
    std::string temporary = path + ".XXXXXX";
    const Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.Valid())
        return;
    if (::write(file.Get(), text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        ::rename(temporary.c_str(), path.c_str()) != 0)
        ::unlink(temporary.c_str());
}

std::string ReadFile(const std::string& path)
{
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    while (file.Valid() && (count = ::read(file.Get(), buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(count));
    return text;
}

// The folder-size lines of a trash without the one of `name`, and with `line` when given.
void UpdateFolderSizes(const std::string& trash, const std::string& name, const std::string& line)
{
    const std::string path = JoinPath(trash, kSizesName);
    const std::string encoded = PercentEncoded(name);
    std::istringstream lines(ReadFile(path));
    std::string text;
    bool changed = !line.empty();
    for (std::string kept; std::getline(lines, kept);) {
        const std::size_t space = kept.rfind(' ');
        if (space != std::string::npos && kept.compare(space + 1, std::string::npos, encoded) == 0)
            changed = true;
        else
            text += kept + "\n";
    }
    if (changed)
        ReplaceFile(path, text + line);
}

// One attempt to put an entry into one trash. The folders it makes for the trash are taken away
// again when the attempt fails, so that a failure leaves nothing behind.
class TrashMove {
public:
    TrashMove(const EntryAt& entry, const struct stat& status) : Entry(entry), Status(status) {}
    ~TrashMove()
    {
        for (auto made = Made.rbegin(); made != Made.rend(); ++made)
            ::rmdir(made->c_str());
    }

    // `top` is the top of the entry's volume; empty for the home trash, whose records hold
    // absolute paths.
    bool Into(const std::string& trash, const std::string& top, std::string& pathInTrash, std::string& reason)
    {
        Descriptor info;
        Descriptor files;
        if (!MakeTrashFolders(trash, info, files, reason))
            return false;
        const std::string original = JoinPath(RealPath(ParentOf(Entry.Path)), Entry.Name);
        const std::string recorded = top.empty() ? original : original.substr(top == "/" ? 1 : top.size() + 1);
        const std::string record = "[Trash Info]\nPath=" + PercentEncoded(recorded) +
                                   "\nDeletionDate=" + LocalTimeNow() + "\n";
        for (int number = 1; number <= kMostNames; ++number) {
            const std::string name = TrashName(number);
            const int error = PlaceUnder(info.Get(), files.Get(), name, record);
            if (error == EEXIST)
                continue;
            if (error != 0) {
                reason = Unusable(trash, error);
                return false;
            }
            pathInTrash = JoinPath(JoinPath(trash, "files"), name);
            if (S_ISDIR(Status.st_mode))
                AddFolderSize(trash, files.Get(), info.Get(), name);
            Made.clear();
            return true;
        }
        reason = Unusable(trash, EEXIST);
        return false;
    }

private:
    // A name of the trash ("NAME", then "NAME.2", "NAME.3", ...) short enough that its record's
    // name fits too; the record keeps the whole original name.
    std::string TrashName(int number) const
    {
        const std::string suffix = number == 1 ? "" : "." + std::to_string(number);
        return CutName(Entry.Name, kLongestName - std::strlen(kInfoEnd) - suffix.size()) + suffix;
    }

    bool MakeTrashFolders(const std::string& trash, Descriptor& info, Descriptor& files, std::string& reason)
    {
        int error = MakeFolderAndAbove(trash);
        for (const char* part : {"files", "info"}) {
            if (error == 0)
                error = MakeFolder(JoinPath(trash, part));
        }
        const auto open = [](const std::string& folder) {
            return Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        };
        if (error == 0) {
            info = open(JoinPath(trash, "info"));
            files = open(JoinPath(trash, "files"));
            if (!info.Valid() || !files.Valid())
                error = errno;
        }
        if (error != 0)
            reason = Unusable(trash, error);
        return error == 0;
    }

    // The user's data folder is made when missing, as every desktop program would, but only for a
    // trash that is then used.
    int MakeFolderAndAbove(const std::string& folder)
    {
        const std::string parent = ParentOf(folder);
        struct stat status {};
        if (parent != "/" && ::stat(parent.c_str(), &status) != 0 && errno == ENOENT) {
            const int error = MakeFolderAndAbove(parent);
            if (error != 0)
                return error;
        }
        return MakeFolder(folder);
    }

    // A trash folder of the user's own; a link, anything but a folder, or another user's folder
    // where it belongs makes the trash unusable.
    int MakeFolder(const std::string& folder)
    {
        if (::mkdir(folder.c_str(), S_IRWXU) == 0) {
            Made.push_back(folder);
            return 0;
        }
        struct stat status {};
        if (errno != EEXIST || ::lstat(folder.c_str(), &status) != 0)
            return errno;
        if (!S_ISDIR(status.st_mode))
            return ENOTDIR;
        return status.st_uid == ::geteuid() ? 0 : EACCES;
    }

    // The record is made first and exclusively, which reserves the name; the entry follows, or the
    // record goes again. 0, EEXIST for a name taken, or the error.
    int PlaceUnder(int info, int files, const std::string& name, const std::string& record)
    {
        const std::string infoName = name + kInfoEnd;
        const Descriptor file(::openat(info, infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.Valid())
            return errno;
        int error = ::write(file.Get(), record.data(), record.size()) == static_cast<ssize_t>(record.size()) ? 0 : errno;
        if (error == 0)
            error = RenameNoReplace(Entry, EntryAt{files, name, name});
        if (error != 0)
            ::unlinkat(info, infoName.c_str(), 0);
        return error;
    }

    // The folder's size goes into the trash's cache of folder sizes, with the time of its record.
    void AddFolderSize(const std::string& trash, int files, int info, const std::string& name) const
    {
        struct stat record {};
        if (::fstatat(info, (name + kInfoEnd).c_str(), &record, 0) != 0)
            return;
        const std::string line = std::to_string(DiskUsage(files, name)) + " " +
                                 std::to_string(static_cast<long long>(record.st_mtim.tv_sec)) + " " +
                                 PercentEncoded(name) + "\n";
        UpdateFolderSizes(trash, name, line);
    }

    const EntryAt& Entry;
    const struct stat& Status;
    std::vector<std::string> Made; // trash folders made by this attempt
};

// The top of the volume that holds a folder: the highest folder above it on the same mount.
std::string VolumeTop(const std::string& folder, std::uint64_t mount)
{
    std::string top = folder;
    while (top != "/" && MountOf(AT_FDCWD, ParentOf(top)) == mount)
        top = ParentOf(top);
    return top;
}

// A volume's trash: "$top/.Trash/$uid" where the administrator made "$top/.Trash" a sticky folder
// (not a link), else "$top/.Trash-$uid".
std::string VolumeTrash(const std::string& top)
{
    const std::string uid = std::to_string(::getuid());
    const std::string shared = JoinPath(top, ".Trash");
    struct stat status {};
    if (::lstat(shared.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX) != 0)
        return JoinPath(shared, uid);
    return JoinPath(top, ".Trash-" + uid);
}

// The mount of a folder, or of the nearest folder above it where it does not exist yet.
std::uint64_t MountOfNearest(std::string folder)
{
    struct stat status {};
    while (folder != "/" && ::stat(folder.c_str(), &status) != 0)
        folder = ParentOf(folder);
    return MountOf(AT_FDCWD, RealPath(folder));
}

} // namespace

bool DesktopTrash::MoveToTrash(const std::string& path, std::string& pathInTrash, std::string& reason)
{
    OpenedEntry entry;
    struct stat status {};
    int error = OpenParentOf(path, entry);
    if (error == 0)
        error = StatusAt(entry.At, status);
    if (error != 0) {
        reason = std::strerror(error);
        return false;
    }
    const std::string data = DataHome();
    const std::uint64_t mount = MountOf(entry.At.Folder, entry.At.Name);
    TrashMove move(entry.At, status);
    if (mount == MountOfNearest(data))
        return move.Into(JoinPath(data, "Trash"), "", pathInTrash, reason);
    const std::string top = VolumeTop(RealPath(ParentOf(path)), mount);
    return move.Into(VolumeTrash(top), top, pathInTrash, reason);
}

std::string TrashInfoOf(const std::string& pathInTrash)
{
    const std::string trash = ParentOf(ParentOf(pathInTrash));
    return JoinPath(JoinPath(trash, "info"), NameOf(pathInTrash) + kInfoEnd);
}

void ForgetTrashed(const std::string& pathInTrash)
{
    ::unlink(TrashInfoOf(pathInTrash).c_str());
    UpdateFolderSizes(ParentOf(ParentOf(pathInTrash)), NameOf(pathInTrash), "");
}

} // namespace platform
