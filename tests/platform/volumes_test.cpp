#include "platform/volumes.h"

#include <gtest/gtest.h>

#include "tests/support/file_tree.h"

namespace {

using platform::MountRecord;

MountRecord Parse(const std::string& line)
{
    MountRecord record;
    EXPECT_TRUE(platform::ParseMountLine(line, record)) << line;
    return record;
}

TEST(Volumes, MountLinesAreParsedWithEscapesAndOptionalFields)
{
    const MountRecord usb =
        Parse("36 35 8:17 / /media/ann/MY\\040STICK rw,nosuid shared:5 master:1 - vfat /dev/sdb1 rw,uid=1000");
    EXPECT_EQ(usb.MountPoint, "/media/ann/MY STICK/");
    EXPECT_EQ(usb.FileSystemType, "vfat");
    EXPECT_EQ(usb.Source, "/dev/sdb1");
    EXPECT_EQ(usb.DeviceId, "8:17");
    EXPECT_EQ(Parse("27 1 254:0 / / rw,relatime - ext4 /dev/vda rw").MountPoint, "/");
    MountRecord broken;
    EXPECT_FALSE(platform::ParseMountLine("27 1 254:0 / / rw,relatime ext4 /dev/vda", broken));
    EXPECT_FALSE(platform::ParseMountLine("", broken));
}

TEST(Volumes, TypeTextsFollowTheFileSystemAndTheDevice)
{
    const auto type = [](const std::string& line, bool removable = false) {
        return platform::VolumeTypeText(Parse(line), removable);
    };
    EXPECT_EQ(type("1 0 0:1 / / rw - overlay overlay rw"), "HDD");
    EXPECT_EQ(type("2 1 8:2 / /home rw - ext4 /dev/sda2 rw"), "HDD");
    EXPECT_EQ(type("2 1 8:17 / /mnt/stick rw - vfat /dev/sdb1 rw", true), "Removable Device");
    EXPECT_EQ(type("2 1 8:33 / /run/media/ann/disk rw - ext4 /dev/sdc1 rw"), "Removable Device");
    EXPECT_EQ(type("2 1 0:50 / /net/share rw - nfs4 server:/export rw"), "Remote Drive");
    EXPECT_EQ(type("2 1 0:51 / /mnt/smb rw - cifs //server/share rw"), "Remote Drive");
    EXPECT_EQ(type("2 1 11:0 / /media/cdrom rw - iso9660 /dev/sr0 ro"), "CD ROM");
    EXPECT_EQ(type("2 1 0:23 / /dev/shm rw - tmpfs tmpfs rw"), "RAM Disk");
    EXPECT_EQ(type("2 1 0:21 / /proc rw - proc proc rw"), "");
    EXPECT_EQ(type("2 1 0:28 / /sys/fs/cgroup rw - tmpfs tmpfs rw"), "");
    EXPECT_EQ(type("2 1 0:26 / /dev/pts rw - devpts devpts rw"), "");
    EXPECT_EQ(type("2 1 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro"), "");
}

TEST(Volumes, TheRootIsAlwaysADriveAndHoldsWhatNoOtherMountHolds)
{
    const std::vector<platform::Volume> drives = platform::Drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().MountPoint, "/");
    EXPECT_EQ(drives.front().TypeText, "HDD");
    for (std::size_t i = 1; i < drives.size(); ++i)
        EXPECT_LT(drives[i - 1].MountPoint, drives[i].MountPoint);

    FileTree tree;
    const platform::Volume holder = platform::VolumeOf(tree.Root());
    EXPECT_FALSE(holder.MountPoint.empty());
    EXPECT_EQ(tree.Root().compare(0, holder.MountPoint.size(), holder.MountPoint), 0);
    EXPECT_EQ(platform::VolumeOf("/").MountPoint, "/");
}

TEST(Volumes, SpaceAndMedium)
{
    FileTree tree;
    const platform::VolumeSpace space = platform::SpaceOf(tree.Root());
    EXPECT_GT(space.Total, 0);
    EXPECT_GE(space.Free, 0);
    EXPECT_LE(space.Free, space.Total);
    EXPECT_FALSE(platform::HasNoMedium(tree.Root()));
    EXPECT_TRUE(platform::HasNoMedium(tree.PathOf("not-there/")));
    EXPECT_EQ(platform::SpaceOf(tree.PathOf("not-there/")).Total, -1);
}

} // namespace
