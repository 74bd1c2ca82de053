// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::platform {

// One row of a mount table in the format of /proc/<pid>/mountinfo, texts decoded.
struct MountInfoEntry {
    std::string device;     // "major:minor" of the mounted file system
    std::string root;       // the folder of that file system that is mounted ("/" for all of it)
    std::string mountPoint; // where it is mounted
    std::string fsType;     // "ext4", "btrfs", "fuseblk", ...
    std::string source;     // "/dev/sda1", "server:/export", ...
    bool readOnly = false;  // mounted read-only, or the file system itself is read-only
};

// Decodes the octal escapes the kernel writes for blanks, tabs, newlines and backslashes in
// mount table fields ("\040" is a blank). A backslash not followed by three octal digits
// stands for itself.
std::string decodeMountInfoField(std::string_view field);

// Parses one line. Returns nothing for a line that does not have the mountinfo layout.
std::optional<MountInfoEntry> parseMountInfoLine(std::string_view line);

// The rows of the mount table file at path, in file order; malformed lines are skipped. Empty
// when the file cannot be read.
std::vector<MountInfoEntry> readMountInfo(const std::string& path);

} // namespace velmaro::platform
