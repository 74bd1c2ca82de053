#include "platform/FileOperations.h"

#include "platform/AttributeMapping.h"
#include "platform/FileAttributes.h"
#include "platform/FixtureRoots.h"
#include "platform/posix/ParentFolder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::uint32_t PermissionBits = 07777;
constexpr std::uint32_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// What GetFileAttributes reports of an entry.
struct EntryStatus {
    std::uint32_t mode = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool mountRoot = false;
};

// Describes the entry name in folder as itself; statx where the system has it (it knows mount
// roots), else fstatat. Returns 0 or the error.
int statEntry(int folder, const char* name, EntryStatus& status) {
    struct statx stx {};
    if (statx(folder, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
              STATX_TYPE | STATX_MODE | STATX_INO, &stx) == 0) {
        status.mode = stx.stx_mode;
        status.device = makedev(stx.stx_dev_major, stx.stx_dev_minor);
        status.inode = stx.stx_ino;
        status.mountRoot = (stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                           (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
        return 0;
    }
    if (errno != ENOSYS)
        return errno;
    struct stat st {};
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    status.mode = st.st_mode;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    return 0;
}

// The permission bits that value asks for on a file that has st now, or -1 when the value
// cannot be applied to it.
long requestedPermissions(const FileAttributeValue& value, const struct stat& st) {
    const std::uint32_t current = st.st_mode & PermissionBits;
    if (value.hasMode()) {
        const bool sameFile = static_cast<std::uint64_t>(st.st_dev) == value.device() &&
                              static_cast<std::uint64_t>(st.st_ino) == value.inode();
        return sameFile ? static_cast<long>(value.mode() & PermissionBits) : -1;
    }
    if (value.attributes() & FILE_ATTRIBUTE_READONLY)
        return current & ~WriteBits;
    if ((current & WriteBits) == 0)
        return current | S_IWUSR;
    return current;
}

} // namespace

FileAttributeValue::FileAttributeValue(std::uint32_t attributes, std::uint32_t mode,
                                       std::uint64_t device, std::uint64_t inode) noexcept
    : m_attributes(attributes), m_hasMode(true), m_mode(mode & PermissionBits), m_device(device),
      m_inode(inode) {}

FileAttributeValue FileAttributeValue::readFailure(int error) noexcept {
    FileAttributeValue value;
    value.m_error = error;
    return value;
}

bool FileAttributeValue::isMissing() const {
    return !isValid() && (m_error == ENOENT || m_error == ENOTDIR);
}

FileAttributeValue GetFileAttributes(std::string_view path) {
    ParentFolder parent;
    if (const int error = parent.open(path))
        return FileAttributeValue::readFailure(error);
    EntryStatus status;
    if (const int error = statEntry(parent.fd(), parent.name().c_str(), status))
        return FileAttributeValue::readFailure(error);
    bool linkToFolder = false;
    if (S_ISLNK(status.mode)) {
        // Only the kind of the link's target is read, for the DIRECTORY bit; nothing acts on it.
        struct stat target {};
        linkToFolder =
            fstatat(parent.fd(), parent.name().c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    const std::uint32_t attributes =
        AttributesFromMode(status.mode, parent.name(), linkToFolder, status.mountRoot);
    return FileAttributeValue(attributes, status.mode, status.device, status.inode);
}

bool SetFileAttributes(std::string_view path, const FileAttributeValue& value) {
    if (!value.isValid() || !FixtureGuardAllows(path))
        return false;
    ParentFolder parent;
    if (parent.open(path) != 0)
        return false;
    // The entry itself, pinned: whatever replaces its name later, the change lands on it.
    Descriptor entry(openat(parent.fd(), parent.name().c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (entry.get() < 0 || fstat(entry.get(), &st) != 0)
        return false;
    const long wanted = requestedPermissions(value, st);
    if (wanted < 0)
        return false;
    if (static_cast<std::uint32_t>(wanted) == (st.st_mode & PermissionBits))
        return true;
    if (S_ISLNK(st.st_mode))
        return false;
    // A descriptor opened with O_PATH cannot be passed to fchmod; its /proc entry reaches the
    // very same file without resolving the name again.
    char procPath[40];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", entry.get());
    return chmod(procPath, static_cast<mode_t>(wanted)) == 0;
}

bool DeleteFile(std::string_view path) {
    if (!FixtureGuardAllows(path))
        return false;
    ParentFolder parent;
    if (parent.open(path) != 0)
        return false;
    return unlinkat(parent.fd(), parent.name().c_str(), 0) == 0;
}

} // namespace velmaro::platform
