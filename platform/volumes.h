#pragma once
// The drives of this system: mounted volumes read from /proc/self/mountinfo, each with its mount
// point (the drive's root), the drive-type text shown to the user, and its space from statvfs.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One line of the mount table, with the escapes of the kernel ("\040" for a space) decoded.
struct MountRecord {
    std::string MountPoint; // with a trailing "/"
    std::string FileSystemType;
    std::string Source;     // e.g. "/dev/sda1", "server:/export", "tmpfs"
    std::string DeviceId;   // "major:minor"
};

struct Volume {
    std::string MountPoint; // with a trailing "/"
    std::string FileSystemType;
    std::string TypeText;   // "HDD", "Removable Device", "Remote Drive", "CD ROM", "RAM Disk" or empty
};

struct VolumeSpace {
    std::int64_t Total = -1; // bytes; -1 when it cannot be read
    std::int64_t Free = -1;  // bytes available to the user; -1 when it cannot be read
};

// Parses one mountinfo line; false for a line that is not one.
bool ParseMountLine(const std::string& line, MountRecord& record);

// The drive-type text of a mount: empty for pseudo file systems, which are not drives.
// `removableDisk` tells whether the kernel reports the block device's disk as removable.
std::string VolumeTypeText(const MountRecord& record, bool removableDisk);

// Every line of the mount table (the last mount on a point wins), sorted by mount point.
std::vector<MountRecord> ReadMountTable();
// Every mount of the table (the last mount on a point wins), sorted by mount point.
std::vector<Volume> MountedVolumes();
// The mounts that are drives (non-empty type text), sorted by mount point.
std::vector<Volume> Drives();
// The volume that holds `path` (the longest mount point above it); empty fields when none does.
Volume VolumeOf(const std::string& path);

// The kernel's own file systems (proc, sysfs, cgroup, devtmpfs, ...): what they show are no files
// on a disk, so folder sizes never count them.
bool IsPseudoFileSystem(const std::string& fileSystemType);

VolumeSpace SpaceOf(const std::string& path);
// No medium: the total size of the file system holding `path` is 0 or cannot be read.
bool HasNoMedium(const std::string& path);

} // namespace platform
