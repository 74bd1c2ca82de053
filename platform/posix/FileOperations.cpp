#include "platform/FileOperations.h"

#include "platform/FileAttributes.h"
#include "platform/FixtureRoots.h"
#include "platform/posix/EntryStatus.h"
#include "platform/posix/ParentFolder.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::uint32_t PermissionBits = 07777;
constexpr std::uint32_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

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
    const std::uint32_t attributes = attributesOf(parent.fd(), parent.name().c_str(), status);
    return FileAttributeValue(attributes, status.mode, status.device, status.inode);
}

bool SetFileAttributes(std::string_view path, const FileAttributeValue& value) {
    if (!value.isValid() || !FixtureGuardAllows(path))
        return false;
    ParentFolder parent;
    if (parent.open(path) != 0)
        return false;
    // The entry itself, pinned: whatever replaces its name later, the change lands on it.
    UniqueFd entry(openat(parent.fd(), parent.name().c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
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
