#include "platform/FolderListing.h"

#include "platform/AttributeMapping.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::size_t ReadBufferSize = 32 * 1024;

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

FolderListing::EntryKind kindOf(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return FolderListing::EntryKind::Directory;
    case DT_REG:
        return FolderListing::EntryKind::File;
    case DT_LNK:
        return FolderListing::EntryKind::Link;
    case DT_UNKNOWN:
        return FolderListing::EntryKind::Unknown;
    default:
        return FolderListing::EntryKind::Other;
    }
}

// The facts describe() needs, from statx where the system has it, else from fstatat.
struct EntryStatus {
    mode_t mode = 0;
    std::uint64_t size = 0;
    FileTime created = 0;
    FileTime accessed = 0;
    FileTime written = 0;
    bool mountRoot = false;
};

bool statEntry(int folder, const char* name, EntryStatus& status) {
    struct statx sx {};
    if (statx(folder, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
              STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME,
              &sx) == 0) {
        status.mode = sx.stx_mode;
        status.size = sx.stx_size;
        status.accessed = toFileTime(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
        status.written = toFileTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
        const bool hasBirth =
            (sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
        status.created =
            hasBirth ? toFileTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec) : status.written;
        status.mountRoot = (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                           (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
        return true;
    }
    if (errno != ENOSYS)
        return false;
    struct stat st {};
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    status.mode = st.st_mode;
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.accessed = toFileTime(st.st_atim.tv_sec, static_cast<std::uint32_t>(st.st_atim.tv_nsec));
    status.written = toFileTime(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
    status.created = status.written;
    return true;
}

std::uint32_t attributesOf(int folder, const char* name, std::string_view nameView,
                           const EntryStatus& status) {
    bool toFolder = false;
    if (S_ISLNK(status.mode)) {
        struct stat target {};
        toFolder = fstatat(folder, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    return AttributesFromMode(status.mode, nameView, toFolder, status.mountRoot);
}

} // namespace

FolderListing::~FolderListing() {
    close();
}

bool FolderListing::open(std::string_view Path, LinkPolicy Links) {
    close();
    m_names.clear();
    m_entries.clear();
    m_path.assign(Path);
    // A trailing "/" would make the kernel resolve a link at the last name in any case.
    while (Links == LinkPolicy::NoFollow && m_path.size() > 1 && m_path.back() == '/')
        m_path.pop_back();
    const int noFollow = Links == LinkPolicy::NoFollow ? O_NOFOLLOW : 0;
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    if (m_fd >= 0 && readAll())
        return true;
    close();
    m_names.clear();
    m_entries.clear();
    return false;
}

void FolderListing::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FolderListing::readAll() {
    m_readBuffer.resize(ReadBufferSize);
    for (;;) {
        const ssize_t got = getdents64(m_fd, m_readBuffer.data(), m_readBuffer.size());
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* record = reinterpret_cast<const dirent64*>(m_readBuffer.data() + at);
            at += record->d_reclen;
            const std::size_t length = std::strlen(record->d_name);
            if (length == 0 || length > std::numeric_limits<std::uint16_t>::max())
                continue;
            m_entries.push_back(
                {m_names.size(), static_cast<std::uint16_t>(length), kindOf(record->d_type)});
            m_names.append(record->d_name, length + 1);
        }
    }
}

bool FolderListing::describe(std::size_t Index, FindData& Data) const {
    if (m_fd < 0)
        return false;
    const std::string_view entryName = name(Index);
    const char* cName = entryName.data();
    EntryStatus status;
    if (!statEntry(m_fd, cName, status))
        return false;
    Data.dwFileAttributes = attributesOf(m_fd, cName, entryName, status);
    Data.ftCreationTime = status.created;
    Data.ftLastAccessTime = status.accessed;
    Data.ftLastWriteTime = status.written;
    const std::uint64_t size = S_ISREG(status.mode) ? status.size : 0;
    Data.nFileSizeHigh = static_cast<std::uint32_t>(size >> 32);
    Data.nFileSizeLow = static_cast<std::uint32_t>(size);
    const std::size_t copied = std::min(entryName.size(), sizeof Data.cFileName - 1);
    std::memcpy(Data.cFileName, cName, copied);
    Data.cFileName[copied] = '\0';
    return true;
}

} // namespace velmaro::platform
