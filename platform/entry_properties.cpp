#include "platform/entry_properties.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace platform {

namespace {

EntryType TypeOf(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryType::File;
    if (S_ISDIR(mode))
        return EntryType::Folder;
    if (S_ISLNK(mode))
        return EntryType::Link;
    return EntryType::Other;
}

std::string UserName(uid_t user)
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->pw_name;
    return std::to_string(user);
}

std::string GroupName(gid_t group)
{
    struct group entry {};
    struct group* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->gr_name;
    return std::to_string(group);
}

std::string LinkTargetOf(const std::string& path, std::int64_t size)
{
    std::string target(static_cast<std::size_t>(size > 0 ? size : 4096), '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    return length < 0 ? std::string() : target.substr(0, static_cast<std::size_t>(length));
}

} // namespace

EntryProperties ReadEntryProperties(const std::string& path)
{
    struct stat status {};
    EntryProperties properties;
    if (::lstat(path.c_str(), &status) != 0)
        return properties;
    properties.Type = TypeOf(status.st_mode);
    properties.Size = status.st_size;
    properties.SizeOnDisk = static_cast<std::int64_t>(status.st_blocks) * 512;
    properties.Owner = UserName(status.st_uid);
    properties.Group = GroupName(status.st_gid);
    properties.Mode = status.st_mode & 07777;
    properties.Modified = status.st_mtim.tv_sec;
    properties.Accessed = status.st_atim.tv_sec;
    properties.Changed = status.st_ctim.tv_sec;
    if (properties.Type == EntryType::Link)
        properties.LinkTarget = LinkTargetOf(path, status.st_size);
    return properties;
}

std::string PermissionText(unsigned mode)
{
    std::string text = "---------";
    const char letters[] = "rwx";
    for (int bit = 0; bit < 9; ++bit)
        if ((mode & (0400u >> bit)) != 0)
            text[static_cast<std::size_t>(bit)] = letters[bit % 3];
    const auto special = [&text](std::size_t at, bool set, char withExecute, char without) {
        if (set)
            text[at] = text[at] == 'x' ? withExecute : without;
    };
    special(2, (mode & 04000) != 0, 's', 'S');
    special(5, (mode & 02000) != 0, 's', 'S');
    special(8, (mode & 01000) != 0, 't', 'T');
    char octal[8];
    std::snprintf(octal, sizeof octal, "%o", mode & 07777);
    return text + " (" + octal + ")";
}

} // namespace platform
