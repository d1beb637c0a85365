// The user's file systems picked out of a mount table: a laptop's table with
// the kernel's own mounts, a container layer, snap images, a covered mount,
// escaped names and lines that are not mount lines.

#include "platform/system/MountedFileSystems.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvel {
namespace {

constexpr const char* kLaptop =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 28 0:22 / /sys rw,relatime shared:7 - sysfs sysfs rw\n"
    "24 28 0:6 / /dev rw - devtmpfs udev rw,size=8000k\n"
    "26 24 0:24 / /dev/shm rw - tmpfs tmpfs rw\n"
    "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "32 23 0:29 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "40 28 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
    "41 28 8:3 / /home rw,relatime shared:30 - ext4 /dev/sda3 rw\n"
    "42 28 0:40 / /run rw - tmpfs tmpfs rw\n"
    "43 42 0:41 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "44 28 7:0 / /snap/core/100 ro - squashfs /dev/loop0 ro\n"
    "45 42 8:17 / /run/media/anna/CAMERA\\040CARD rw,nosuid - vfat /dev/sdb1 rw\n"
    "46 28 0:50 / /mnt/backup rw - nfs4 nas:/export/backup rw\n"
    "47 28 0:51 / /mnt/scratch rw - tmpfs tmpfs rw\n"
    "48 28 8:33 / /media/anna/OLD rw - ext4 /dev/sdc1 rw\n"
    "49 28 8:34 / /media/anna/OLD rw - ext4 /dev/sdc2 rw\n"
    "50 28 0:60 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n"
    "51 41 0:61 / /home/anna/remote rw - fuse.sshfs anna@host:/ rw\n"
    "52 28 0:62 / /media rw - ext4 /dev/sdd1 rw\n"
    "not a mount line\n"
    "53 28 0:63 / /mnt/cut rw -\n"
    "54 28 0:64 / relative rw - ext4 /dev/sde1 rw\n";

TEST(MountedFileSystemsTest, TheLaptopsTableListsRootHomeMediaAndNetworkMountsOnly) {
    std::vector<std::string> shown;
    for (const TMountedFileSystem& fs : UserFileSystems(kLaptop)) shown.push_back(fs.mountPoint);
    EXPECT_EQ(shown, (std::vector<std::string>{"/", "/home", "/home/anna/remote", "/media/anna/OLD",
                                               "/mnt/backup", "/run/media/anna/CAMERA CARD"}));
}

// In a chroot the root is no mount: only what was mounted inside shows.
TEST(MountedFileSystemsTest, AChrootsTableStillListsTheRootFirst) {
    const char* chroot =
        "60 59 0:21 / /proc rw - proc proc rw\n"
        "61 59 8:3 /home/anna/disks /mnt/disks rw - ext4 /dev/sda3 rw\n";
    std::vector<std::string> shown;
    for (const TMountedFileSystem& fs : UserFileSystems(chroot)) shown.push_back(fs.mountPoint);
    EXPECT_EQ(shown, (std::vector<std::string>{"/", "/mnt/disks"}));
}

TEST(MountedFileSystemsTest, LinesAreReadWithOptionalFieldsAndEscapesAndBadLinesSkipped) {
    const std::vector<TMountedFileSystem> all = ParseMountInfo(kLaptop);
    ASSERT_EQ(all.size(), 19u);       // the last three lines are no mount lines
    EXPECT_EQ(all[1].type, "sysfs");  // after an optional field
    EXPECT_EQ(all[4].source, "/dev/sda2");
    EXPECT_EQ(all[11].mountPoint, "/run/media/anna/CAMERA CARD");
    EXPECT_TRUE(ParseMountInfo("").empty());
    EXPECT_TRUE(ParseMountInfo("\n\n - - -\n").empty());
    // An escape cut short stays as it stands.
    EXPECT_EQ(ParseMountInfo("1 1 0:1 / /mnt/a\\04 rw - ext4 /dev/x rw").at(0).mountPoint, "/mnt/a\\04");
}

TEST(MountedFileSystemsTest, TheRuleByKindAndPlace) {
    const struct {
        TMountedFileSystem fs;
        bool shown;
    } cases[] = {
        {{"/", "overlay", "overlay"}, true},  // a container's root is still the root
        {{"/home", "/dev/sda3", "ext4"}, true},      {{"/homework", "/dev/sda4", "ext4"}, false},
        {{"/media", "/dev/sdd1", "ext4"}, false},  // the folder itself is no medium
        {{"/media/usb", "/dev/sdb1", "vfat"}, true}, {{"/mnt/share", "//server/share", "cifs"}, true},
        {{"/mnt/ram", "tmpfs", "tmpfs"}, false},     {{"/boot", "/dev/sda1", "ext2"}, false},
        {{"/proc", "proc", "proc"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsUserFileSystem(c.fs), c.shown) << c.fs.mountPoint;
}

TEST(MountedFileSystemsTest, ThisMachinesTableHasTheRoot) {
    const std::vector<TMountedFileSystem> mine = MountedUserFileSystems();
    ASSERT_FALSE(mine.empty());
    EXPECT_EQ(mine.front().mountPoint, "/");
}

}  // namespace
}  // namespace tarvel
