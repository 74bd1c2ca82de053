// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Drives.h"

#include "platform/posix/MountInfo.h"
#include "platform/posix/RemovableDisk.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>
#include <utility>

namespace velmaro::platform {

namespace {

bool isLocalDiskFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 14> kTypes{
        "ext2", "ext3",     "ext4", "xfs",   "btrfs", "zfs",   "f2fs",
        "jfs",  "bcachefs", "vfat", "exfat", "ntfs",  "ntfs3", "fuseblk"};
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

// Whether a location list can carry the folder unchanged: entries are split at ";", a ">" or
// "<" starts a marker, and blanks and control characters at either end are trimmed away.
bool survivesLocationSyntax(std::string_view folder) {
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    return !folder.empty() && folder.find_first_of(";<>") == std::string_view::npos &&
           !isTrimmed(folder.front()) && !isTrimmed(folder.back());
}

// For each mount point, the row of the last mount on it: a later mount on the same point hides
// the earlier ones.
std::map<std::string, std::size_t> topmostRows(const std::vector<MountInfoEntry>& entries) {
    std::map<std::string, std::size_t> rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows[entries[i].mountPoint] = i;
    }
    return rows;
}

} // namespace

SystemDriveSource::SystemDriveSource() : SystemDriveSource("/proc/self/mountinfo", "/sys") {}

SystemDriveSource::SystemDriveSource(std::string mountInfoPath, std::string sysfsRoot)
    : m_mountInfoPath(std::move(mountInfoPath)), m_sysfsRoot(std::move(sysfsRoot)) {}

std::vector<Drive> SystemDriveSource::drives() const {
    const std::vector<MountInfoEntry> entries = readMountInfo(m_mountInfoPath);
    const std::map<std::string, std::size_t> topmost = topmostRows(entries);
    std::vector<Drive> drives;
    // The device and folder of every listed mount: another mount of both is a bind mount.
    std::set<std::pair<std::string, std::string>> listed;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MountInfoEntry& entry = entries[i];
        if (!isLocalDiskFileSystem(entry.fsType) || entry.readOnly ||
            !survivesLocationSyntax(entry.mountPoint) || topmost.at(entry.mountPoint) != i ||
            !listed.emplace(entry.device, entry.root).second) {
            continue;
        }
        Drive drive;
        drive.mountPoint = entry.mountPoint;
        drive.root = entry.mountPoint.ends_with('/') ? entry.mountPoint : entry.mountPoint + "/";
        drive.kind = isOnRemovableDisk(m_sysfsRoot, entry.device, entry.source)
                         ? DriveKind::Removable
                         : DriveKind::Fixed;
        drives.push_back(std::move(drive));
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.mountPoint < b.mountPoint; });
    return drives;
}

} // namespace velmaro::platform
