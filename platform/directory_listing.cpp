#include "platform/directory_listing.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

namespace platform {

namespace {

// stx_blocks counts units of 512 bytes whatever the file system's block size.
constexpr std::int64_t kBlockBytes = 512;

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Fills the status fields of an entry relative to an open folder (or AT_FDCWD). Links are followed
// for everything but the Link flag itself; a dangling link keeps the link's own status.
bool FillStatus(int folderFd, const char* name, ListingDetail detail, DirectoryEntry& entry)
{
    const unsigned int wanted =
        detail == ListingDetail::Full ? STATX_BASIC_STATS | STATX_BTIME : STATX_TYPE | STATX_SIZE | STATX_BLOCKS;
    struct statx own {};
    if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW, wanted, &own) != 0)
        return false;
    struct statx target = own;
    entry.Link = S_ISLNK(own.stx_mode);
    if (entry.Link && ::statx(folderFd, name, 0, wanted, &target) != 0)
        target = own;
    entry.Folder = S_ISDIR(target.stx_mode);
    entry.Size = static_cast<std::int64_t>(target.stx_size);
    entry.Allocated = static_cast<std::int64_t>(target.stx_blocks) * kBlockBytes;
    if (detail != ListingDetail::Full)
        return true;
    const bool hasBirth = (target.stx_mask & STATX_BTIME) != 0 && target.stx_btime.tv_sec != 0;
    entry.Created = hasBirth ? target.stx_btime.tv_sec : target.stx_ctime.tv_sec;
    entry.LastAccess = target.stx_atime.tv_sec;
    // The effective user's right, as every other file operation of the program will be checked.
    entry.ReadOnly = ::faccessat(folderFd, name, W_OK, AT_EACCESS) != 0;
    return true;
}

// The kind alone: the directory reports it for most file systems; links and unknown kinds need a
// status call to tell a folder from a file.
void FillKind(int folderFd, const dirent& record, DirectoryEntry& entry)
{
    entry.Link = record.d_type == DT_LNK;
    if (record.d_type == DT_DIR) {
        entry.Folder = true;
    } else if (record.d_type == DT_LNK || record.d_type == DT_UNKNOWN) {
        struct stat target {};
        entry.Folder = ::fstatat(folderFd, record.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
        if (record.d_type == DT_UNKNOWN) {
            struct stat own {};
            entry.Link = ::fstatat(folderFd, record.d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
        }
    }
}

// Makes `entry` the fresh entry of `name` field by field, keeping the buffer its name already has
// (this runs for every entry of every folder listed).
void Reuse(DirectoryEntry& entry, const char* name)
{
    entry.Name.assign(name);
    entry.Folder = false;
    entry.Link = false;
    entry.Hidden = name[0] == '.';
    entry.ReadOnly = false;
    entry.Size = -1;
    entry.Allocated = -1;
    entry.Created = 0;
    entry.LastAccess = 0;
}

ListingResult FailureOf(int error)
{
    return error == ENOENT || error == ENOTDIR ? ListingResult::Missing : ListingResult::Unreadable;
}

} // namespace

DirectoryReader::DirectoryReader(const std::string& folder, ListingDetail detail) : Detail(detail)
{
    Directory = ::opendir(folder.c_str());
    if (Directory == nullptr)
        Outcome = FailureOf(errno);
}

DirectoryReader::~DirectoryReader()
{
    if (Directory != nullptr)
        ::closedir(static_cast<DIR*>(Directory));
}

bool DirectoryReader::Read(const EntryVisitor& visit, const std::function<bool()>& more)
{
    if (Directory == nullptr)
        return false;
    auto* directory = static_cast<DIR*>(Directory);
    const int folderFd = ::dirfd(directory);
    while (more()) {
        errno = 0; // readdir reports the end and a failure alike, told apart only by errno
        const dirent* record = ::readdir(directory);
        if (record == nullptr) {
            Outcome = errno == 0 ? ListingResult::Listed : ListingResult::Unreadable;
            ::closedir(directory);
            Directory = nullptr;
            return false;
        }
        if (IsDotEntry(record->d_name))
            continue;
        Reuse(Entry, record->d_name);
        if (Detail == ListingDetail::Kinds || !FillStatus(folderFd, record->d_name, Detail, Entry))
            FillKind(folderFd, *record, Entry);
        visit(Entry);
    }
    return true;
}

ListingResult ListDirectory(const std::string& folder, ListingDetail detail, const EntryVisitor& visit)
{
    DirectoryReader reader(folder, detail);
    reader.Read(visit, [] { return true; });
    return reader.Result();
}

ListingResult ListDirectory(const std::string& folder, ListingDetail detail, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    return ListDirectory(folder, detail, [&entries](const DirectoryEntry& entry) { entries.push_back(entry); });
}

bool LookUpEntry(const std::string& path, DirectoryEntry& entry)
{
    const std::string bare = WithoutTrailingSlash(path);
    entry = DirectoryEntry{};
    entry.Name = NameOf(bare);
    entry.Hidden = !entry.Name.empty() && entry.Name[0] == '.';
    return FillStatus(AT_FDCWD, bare.c_str(), ListingDetail::Full, entry);
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

} // namespace platform
