// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace velmaro::platform {

// A moment as the file system records it: seconds and nanoseconds since 1970 (UTC).
struct FileStamp {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// What tells a file apart from another file that later takes its name: the device and inode,
// the size and the last write, and the birth time where the file system records one. A
// deletion compares the identity the search listed with the file it is about to remove, and
// reaches the file only on the mount it was listed on.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    FileStamp modified;
    // Zero where the file system records no birth time.
    FileStamp birth;
    bool hasBirth = false;
    // The mount the file was seen on (the system's mount id); 0 where the system names none.
    // Not part of sameFile: one file seen through two mounts is still one file.
    std::uint64_t mount = 0;

    // Whether both describe the same file in the same state. The birth times count only where
    // both sides know one.
    bool sameFile(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified == other.modified && (!hasBirth || !other.hasBirth || birth == other.birth);
    }
};

} // namespace velmaro::platform
