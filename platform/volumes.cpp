#include "platform/volumes.h"

#include <sys/statvfs.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>

#include "platform/paths.h"

namespace platform {

namespace {

constexpr std::array<std::string_view, 2> kRamTypes{"tmpfs", "ramfs"};
constexpr std::array<std::string_view, 2> kDiscTypes{"iso9660", "udf"};
constexpr std::array<std::string_view, 14> kRemoteTypes{
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs", "9p",
    "ceph", "glusterfs", "fuse.glusterfs", "afs", "davfs", "fuse.rclone"};
constexpr std::array<std::string_view, 21> kPseudoTypes{
    "proc", "sysfs", "cgroup", "cgroup2", "devtmpfs", "devpts", "debugfs", "tracefs",
    "securityfs", "pstore", "efivarfs", "bpf", "configfs", "fusectl", "hugetlbfs", "mqueue",
    "binfmt_misc", "autofs", "rpc_pipefs", "nsfs", "selinuxfs"};
// Mount trees of the kernel's own interfaces: nothing below them is a drive.
constexpr std::array<std::string_view, 2> kPseudoTrees{"/proc/", "/sys/"};

template <std::size_t N>
bool IsOneOf(const std::string& text, const std::array<std::string_view, N>& choices)
{
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

bool StartsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Unescape(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool octal = text[i] == '\\' && i + 3 < text.size() &&
                           std::all_of(text.begin() + static_cast<long>(i) + 1, text.begin() + static_cast<long>(i) + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            plain += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
            i += 3;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

bool ReadsOne(const std::string& path)
{
    std::ifstream file(path);
    int value = 0;
    return static_cast<bool>(file >> value) && value == 1;
}

// The kernel marks removable media on the whole disk; a partition asks its disk.
bool RemovableDisk(const std::string& deviceId)
{
    const std::string device = "/sys/dev/block/" + deviceId;
    struct stat info {};
    if (::stat((device + "/partition").c_str(), &info) == 0)
        return ReadsOne(device + "/../removable");
    return ReadsOne(device + "/removable");
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::vector<MountRecord> ReadMountTable()
{
    std::ifstream table("/proc/self/mountinfo");
    std::map<std::string, MountRecord> byPoint;
    for (std::string line; std::getline(table, line);) {
        MountRecord record;
        if (ParseMountLine(line, record))
            byPoint[record.MountPoint] = record;
    }
    std::vector<MountRecord> records;
    for (auto& [point, record] : byPoint)
        records.push_back(std::move(record));
    return records;
}

bool ParseMountLine(const std::string& line, MountRecord& record)
{
    // id parent major:minor root mount-point options [optional fields...] - type source super-options
    std::istringstream fields(line);
    std::string id, parent, device, root, point, options;
    if (!(fields >> id >> parent >> device >> root >> point >> options))
        return false;
    std::string field;
    while (fields >> field && field != "-") {
    }
    std::string type, source;
    if (field != "-" || !(fields >> type >> source))
        return false;
    record.MountPoint = WithTrailingSlash(Unescape(point));
    record.FileSystemType = type;
    record.Source = Unescape(source);
    record.DeviceId = device;
    return true;
}

std::string VolumeTypeText(const MountRecord& record, bool removableDisk)
{
    if (record.MountPoint == "/")
        return "HDD";
    if (std::any_of(kPseudoTrees.begin(), kPseudoTrees.end(),
                    [&](std::string_view tree) { return StartsWith(record.MountPoint, tree); }))
        return "";
    if (IsOneOf(record.FileSystemType, kRamTypes))
        return "RAM Disk";
    if (IsOneOf(record.FileSystemType, kDiscTypes))
        return "CD ROM";
    if (IsOneOf(record.FileSystemType, kRemoteTypes))
        return "Remote Drive";
    if (!StartsWith(record.Source, "/dev/") || record.FileSystemType == "squashfs")
        return "";
    if (removableDisk || StartsWith(record.MountPoint, "/media/") || StartsWith(record.MountPoint, "/run/media/"))
        return "Removable Device";
    return "HDD";
}

std::vector<Volume> MountedVolumes()
{
    std::vector<Volume> volumes;
    for (const MountRecord& record : ReadMountTable()) {
        const bool blockDevice = StartsWith(record.Source, "/dev/");
        Volume volume{record.MountPoint, record.FileSystemType,
                      VolumeTypeText(record, blockDevice && RemovableDisk(record.DeviceId))};
        // A file bound over a file (as containers do for /etc/hosts) is no drive root.
        if (!volume.TypeText.empty() && !IsFolder(volume.MountPoint))
            volume.TypeText.clear();
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

std::vector<Volume> Drives()
{
    std::vector<Volume> drives = MountedVolumes();
    std::erase_if(drives, [](const Volume& volume) { return volume.TypeText.empty(); });
    return drives;
}

Volume VolumeOf(const std::string& path)
{
    const std::string folder = WithTrailingSlash(path);
    Volume holder;
    for (Volume& volume : MountedVolumes()) {
        if (StartsWith(folder, volume.MountPoint) && volume.MountPoint.size() > holder.MountPoint.size())
            holder = std::move(volume);
    }
    return holder;
}

bool IsPseudoFileSystem(const std::string& fileSystemType)
{
    return IsOneOf(fileSystemType, kPseudoTypes);
}

VolumeSpace SpaceOf(const std::string& path)
{
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0)
        return {};
    const auto unit = static_cast<std::int64_t>(info.f_frsize);
    return {static_cast<std::int64_t>(info.f_blocks) * unit, static_cast<std::int64_t>(info.f_bavail) * unit};
}

bool HasNoMedium(const std::string& path)
{
    return SpaceOf(path).Total <= 0;
}

} // namespace platform
