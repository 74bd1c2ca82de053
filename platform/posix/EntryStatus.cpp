// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/EntryStatus.h"

#include "platform/AttributeMapping.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace velmaro::platform {

namespace {

// Seconds between 1 January 1601 and 1 January 1970.
constexpr std::int64_t UnixEpochInFileTimeSeconds = 11644473600;

// A Windows file time from a Unix time; moments before 1601 become 0, moments beyond the
// range of the 64-bit count its largest value.
FileTime toFileTime(std::int64_t seconds, std::uint32_t nanoseconds) {
    constexpr std::int64_t maxSeconds =
        static_cast<std::int64_t>(std::numeric_limits<FileTime>::max() / 10'000'000) -
        UnixEpochInFileTimeSeconds - 1;
    if (seconds < -UnixEpochInFileTimeSeconds)
        return 0;
    if (seconds > maxSeconds)
        return std::numeric_limits<FileTime>::max();
    return static_cast<FileTime>(seconds + UnixEpochInFileTimeSeconds) * 10'000'000 +
           nanoseconds / 100;
}

} // namespace

int statEntry(int folder, const char* name, EntryStatus& status) {
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (*name ? 0 : AT_EMPTY_PATH);
    struct statx sx {};
    if (statx(folder, name, flags, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &sx) == 0) {
        status.mode = sx.stx_mode;
        status.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
        status.inode = sx.stx_ino;
        status.size = sx.stx_size;
        status.accessed = toFileTime(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
        status.written = toFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
        const bool hasBirth =
            (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
        status.created =
            hasBirth ? toFileTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec) : status.written;
        status.modified = {sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec};
        status.changed = {sx.stx_ctime.tv_sec, sx.stx_ctime.tv_nsec};
        status.hasBirth = hasBirth;
        status.birth =
            hasBirth ? FileStamp{sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec} : FileStamp{};
        status.mountRoot = (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                           (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
        status.mount = (sx.stx_mask & STATX_MNT_ID) ? sx.stx_mnt_id : 0;
        return 0;
    }
    if (errno != ENOSYS)
        return errno;
    struct stat st {};
    if (fstatat(folder, name, &st, flags) != 0)
        return errno;
    status.mode = st.st_mode;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.accessed = toFileTime(st.st_atim.tv_sec, static_cast<std::uint32_t>(st.st_atim.tv_nsec));
    status.written = toFileTime(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
    status.created = status.written;
    status.modified = {st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec)};
    status.changed = {st.st_ctim.tv_sec, static_cast<std::uint32_t>(st.st_ctim.tv_nsec)};
    status.hasBirth = false;
    status.birth = {};
    status.mountRoot = false;
    status.mount = 0;
    return 0;
}

std::uint32_t attributesOf(int folder, const char* name, const EntryStatus& status) {
    bool toFolder = false;
    if (S_ISLNK(status.mode)) {
        struct stat target {};
        toFolder = fstatat(folder, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    return AttributesFromMode(status.mode, name, toFolder, status.mountRoot);
}

} // namespace velmaro::platform
