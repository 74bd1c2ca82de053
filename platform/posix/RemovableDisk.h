// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace velmaro::platform {

// Whether a mounted file system lives on a removable disk, judged from the sysfs tree at
// sysfsRoot: a partition counts as its disk, a device-mapper or md device as its slaves (any
// removable slave makes it removable), and a disk is removable when its "removable" attribute
// is 1 or its device path runs through a USB or MMC controller.
//   device  "major:minor" from the mount table
//   source  the mount source ("/dev/sdb1", "/dev/mapper/name"); used when the device number
//           names no block device, as with the anonymous numbers of btrfs mounts
// A device that cannot be found in sysfs counts as fixed.
bool isOnRemovableDisk(const std::filesystem::path& sysfsRoot, const std::string& device,
                       const std::string& source);

} // namespace velmaro::platform
