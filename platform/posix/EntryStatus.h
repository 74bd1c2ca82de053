// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"
#include "platform/FindData.h"

#include <cstdint>
#include <sys/types.h>

namespace velmaro::platform {

// What the system says of one entry of an open folder, read as the entry itself (a link is
// never followed): the step that the folder listing and the deletion layer's attribute reading
// share.
struct EntryStatus {
    mode_t mode = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    // The birth time where the file system records one (and it is not 0), else the last write.
    FileTime created = 0;
    FileTime accessed = 0;
    FileTime written = 0;
    // Another file system is mounted on this folder (known only where statx is available).
    bool mountRoot = false;
    // The mount id of the mount the entry lies on; 0 where the system does not report it.
    std::uint64_t mount = 0;
    // The last write and the birth time as recorded, for the identity.
    FileStamp modified;
    // The last change of the entry's own record (for a folder, also of its list of entries).
    FileStamp changed;
    FileStamp birth;
    bool hasBirth = false;

    FileIdentity identity() const {
        return {device, inode, size, modified, birth, hasBirth, mount};
    }
};

// Describes the entry name of the open folder; statx where the system has it (it knows birth
// times, mounts and mount roots), else fstatat. An empty name describes what folder itself
// refers to (a descriptor opened with O_PATH, a link among them). Returns 0, or the errno of
// the failure.
int statEntry(int folder, const char* name, EntryStatus& status);

// The Windows attribute word of the entry statEntry described. For a symbolic link it also
// looks at the link's target, only to tell whether it is a folder.
std::uint32_t attributesOf(int folder, const char* name, const EntryStatus& status);

} // namespace velmaro::platform
