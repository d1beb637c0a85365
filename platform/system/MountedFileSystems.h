#pragma once
// The file systems a user keeps files on, from the kernel's mount table
// (/proc/self/mountinfo), for the explorer-like views to list under My
// Computer. Of the mount table the user expects to see:
//   - the root file system "/", always (whatever it is made of, and even
//     where it is no mount of its own, as in a chroot);
//   - a file system on a block device ("/dev/...") or a network file system
//     (nfs, nfs4, cifs, smb3, smbfs, sshfs) mounted at /home or below it, or
//     below /media, /mnt or /run/media (removable media and mounts made by
//     hand).
// Everything else is the system's own business: kernel interfaces (proc,
// sysfs, cgroup, devpts), memory file systems (tmpfs, devtmpfs), container
// layers (overlay), snap images under /snap, and the disk partitions of
// /boot and /var. Where several mounts share a mount point only the last
// one, the one on top, is seen.

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

struct TMountedFileSystem {
    std::string mountPoint;  // absolute, with the table's escapes undone
    std::string source;      // "/dev/sda2", "server:/export", "tmpfs" ...
    std::string type;        // "ext4", "nfs4", "fuse.sshfs" ...
};

// Every well-formed line of a mountinfo text, in its order; a malformed line
// is skipped.
std::vector<TMountedFileSystem> ParseMountInfo(std::string_view text);
// Whether the user keeps files on it, by the rule above.
bool IsUserFileSystem(const TMountedFileSystem& fs);
// The user's file systems of a mountinfo text, in mount-point order.
std::vector<TMountedFileSystem> UserFileSystems(std::string_view mountInfo);
// Those of a mount table file, this process's by default; empty when it
// cannot be read.
std::vector<TMountedFileSystem> MountedUserFileSystems(
    std::string_view mountInfoFile = "/proc/self/mountinfo");

}  // namespace tarvel
