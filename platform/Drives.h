// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmaro::platform {

// How the location list treats a drive: fixed drives are searched by default, removable ones
// only on request.
enum class DriveKind { Fixed, Removable };

// One drive: a local disk file system mounted read-write.
//   mountPoint  where it is mounted, as the system spells it (raw bytes, escapes decoded)
//   root        mountPoint ending in "/": the folder a search receives as its location
struct Drive {
    std::string mountPoint;
    std::string root;
    DriveKind kind = DriveKind::Fixed;

    bool operator==(const Drive&) const = default;
};

// Where the main window gets its drives from. The program hands it the system's drives; tests
// hand it fixture drives, so that they never see the machine's real ones.
class DriveSource {
public:
    virtual ~DriveSource() = default;

    // The drives, ordered by mount point (byte order). Empty when none can be found.
    virtual std::vector<Drive> drives() const = 0;
};

// The drives of the running system, read from its mount table and sysfs.
//
// Listed: mounts of local disk file systems (ext2/3/4, xfs, btrfs, zfs, f2fs, jfs, bcachefs,
// vfat, exfat, ntfs, ntfs3, fuseblk) that are read-write both as a mount and as a file system.
// Left out: network, optical, RAM and pseudo file systems; read-only mounts (so also
// loop-backed images such as snaps); a mount hidden by a later mount on the same point; a
// second mount of the same device and the same folder of it (a bind mount), while separately
// mounted btrfs subvolumes (other folders of the device) stay; and a mount point that a
// location list could not carry unchanged (";", ">", "<", or a blank or control character at
// either end), since it could make a search walk another folder.
//
// Removable: the disk under the mount (a partition is followed to its disk, device-mapper and
// md devices to their slaves) has "removable" set or sits on USB or MMC; otherwise fixed.
class SystemDriveSource final : public DriveSource {
public:
    // Reads /proc/self/mountinfo and /sys.
    SystemDriveSource();

    // Reads the given mount table (mountinfo format) and the sysfs tree at sysfsRoot, so that
    // tests can give fixtures.
    SystemDriveSource(std::string mountInfoPath, std::string sysfsRoot);

    // Reads the mount table afresh on every call. A table that cannot be read gives no drives.
    std::vector<Drive> drives() const override;

private:
    std::string m_mountInfoPath;
    std::string m_sysfsRoot;
};

} // namespace velmaro::platform
