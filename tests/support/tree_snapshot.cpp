#include "tests/support/tree_snapshot.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

EntryRecord Record(const fs::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {};
    EntryRecord record;
    record.Mode = status.st_mode & 07777;
    record.Modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    if (S_ISREG(status.st_mode)) {
        record.Kind = 'f';
        std::ifstream file(path, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        record.Content = bytes.str();
    } else if (S_ISDIR(status.st_mode)) {
        record.Kind = 'd';
    } else if (S_ISLNK(status.st_mode)) {
        record.Kind = 'l';
        record.Content = fs::read_symlink(path).string();
        record.Mode = 0; // links have no permissions of their own
    } else {
        record.Kind = 'o';
    }
    return record;
}

} // namespace

TreeSnapshot Snapshot(const std::string& folder)
{
    TreeSnapshot snapshot;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(folder, error)))
        return snapshot;
    snapshot["."] = Record(folder);
    if (snapshot["."].Kind != 'd')
        return snapshot;
    for (auto entry = fs::recursive_directory_iterator(folder, error); entry != fs::recursive_directory_iterator();
         entry.increment(error))
        snapshot[entry->path().lexically_relative(folder).string()] = Record(entry->path());
    return snapshot;
}

TreeSnapshot WithoutFolderTimes(TreeSnapshot snapshot)
{
    for (auto& [path, record] : snapshot) {
        if (record.Kind == 'd')
            record.Modified = 0;
    }
    return snapshot;
}

void GiveBackPermissions(const std::string& folder)
{
    std::error_code error;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto entry = fs::recursive_directory_iterator(folder, error); entry != fs::recursive_directory_iterator();
         entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error))
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
}

std::map<std::string, EntryRecord> TemporaryEntries(const std::string& folder)
{
    std::map<std::string, EntryRecord> found;
    for (const auto& [path, record] : Snapshot(folder)) {
        if (fs::path(path).filename().string().rfind(".orbivane-", 0) == 0)
            found[path] = record;
    }
    return found;
}

std::uint64_t Checksum(const std::string& bytes)
{
    std::uint64_t sum = 14695981039346656037ull;
    for (const char byte : bytes)
        sum = (sum ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return sum;
}

std::map<std::string, std::uint64_t> FileSums(const std::string& folder)
{
    std::map<std::string, std::uint64_t> sums;
    for (const auto& [path, record] : Snapshot(folder)) {
        if (record.Kind == 'f')
            sums[path] = Checksum(record.Content);
    }
    return sums;
}

std::ostream& operator<<(std::ostream& stream, const EntryRecord& record)
{
    return stream << record.Kind << " mode " << std::oct << record.Mode << std::dec << " modified " << record.Modified
                  << " [" << record.Content.substr(0, 40) << (record.Content.size() > 40 ? "..." : "") << "] ("
                  << record.Content.size() << " bytes)";
}
