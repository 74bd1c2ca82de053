// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ListedFile.h"

#include "platform/FileAttributes.h"
#include "platform/FixtureRoots.h"
#include "platform/posix/EntryStatus.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::uint32_t PermissionBits = 07777;
constexpr std::uint32_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// Sent when another process opens a leased file; ignored by default, unlike SIGIO.
constexpr int LeaseBreakSignal = SIGURG;

// How often DeleteFile picks another private name when one is taken.
constexpr int PrivateNameAttempts = 8;

std::atomic<unsigned> privateNameCounter{0};

// A name in the file's folder that no other program uses: hidden, and unique to this process.
std::string privateName() {
    return ".velmaro-deleting-" + std::to_string(getpid()) + "-" +
           std::to_string(privateNameCounter.fetch_add(1, std::memory_order_relaxed));
}

// The /proc entry of a descriptor: it reaches the very file the descriptor holds, which an
// O_PATH descriptor cannot be used for directly (chmod, a real open).
class ProcPath {
public:
    explicit ProcPath(int fd) { std::snprintf(m_text, sizeof m_text, "/proc/self/fd/%d", fd); }
    const char* c_str() const { return m_text; }

private:
    char m_text[40];
};

// The permission bits that value asks for on the file whose status is st, or -1 when the
// value cannot be applied to it.
long requestedPermissions(const FileAttributeValue& value, const struct stat& st) {
    const std::uint32_t current = st.st_mode & PermissionBits;
    if (value.hasMode()) {
        const bool sameFile = static_cast<std::uint64_t>(st.st_dev) == value.identity().device &&
                              static_cast<std::uint64_t>(st.st_ino) == value.identity().inode;
        return sameFile ? static_cast<long>(value.mode()) : -1;
    }
    if (value.attributes() & FILE_ATTRIBUTE_READONLY)
        return current & ~WriteBits;
    if ((current & WriteBits) == 0)
        return current | S_IWUSR;
    return current;
}

// Reopens the regular file pinned at entry and takes a write lease on it, into lease. Returns
// 0; EBUSY when another process has the file open (or runs it, or holds a lease on it); any
// other error says that no lease can be had here.
int takeWriteLease(int entry, UniqueFd& lease) {
    const ProcPath proc(entry);
    constexpr int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    UniqueFd file(::open(proc.c_str(), O_RDONLY | flags));
    // An owner without read permission may still open the file for writing.
    if (!file && errno == EACCES)
        file.reset(::open(proc.c_str(), O_WRONLY | flags));
    if (!file)
        return errno == EWOULDBLOCK || errno == ETXTBSY ? EBUSY : errno;
    if (fcntl(file.get(), F_SETSIG, LeaseBreakSignal) != 0)
        return errno;
    if (fcntl(file.get(), F_SETLEASE, F_WRLCK) != 0)
        return errno == EAGAIN ? EBUSY : errno;
    lease = std::move(file);
    return 0;
}

// Whether name in folder is the entry pinned, whose identity was found on its descriptor.
bool holdsPinned(int folder, const char* name, const FileIdentity& pinned) {
    struct stat st;
    return fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           static_cast<std::uint64_t>(st.st_dev) == pinned.device &&
           static_cast<std::uint64_t>(st.st_ino) == pinned.inode;
}

} // namespace

ListedFile::ListedFile(std::string_view path, const FileIdentity& listed, Intent intent)
    : m_path(path), m_listed(listed), m_intent(intent), m_guardAllows(FixtureGuardAllows(path)) {
    m_found = find();
    if (m_found != Found::listed)
        m_entry.reset();
}

ListedFile::Found ListedFile::find() {
    const auto notFound = [this](Found found, int error) {
        m_error = error;
        return found;
    };
    if (const int error = m_parent.open(m_path, &m_listed))
        return notFound(IsMissingError(error) ? Found::missing : Found::unreachable, error);
    const char* name = m_parent.name().c_str();
    m_entry.reset(openat(m_parent.fd(), name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!m_entry) {
        const int error = errno;
        return notFound(IsMissingError(error) ? Found::missing : Found::unreachable, error);
    }
    EntryStatus status;
    if (const int error = statEntry(m_entry.get(), "", status))
        return notFound(Found::unreachable, error);
    // A file (or a mount) bound over the name later lies on another mount.
    if (m_listed.device != 0 && !OnListedMount(status, m_listed))
        return notFound(Found::unreachable, EXDEV);
    if (!m_listed.sameFile(status.identity()))
        return notFound(Found::other, EEXIST);
    m_fileType = status.mode & S_IFMT;
    m_attributes = FileAttributeValue(attributesOf(m_parent.fd(), name, status), status.mode,
                                      status.identity());
    if (S_ISREG(status.mode) && m_guardAllows && m_intent == Intent::change &&
        takeWriteLease(m_entry.get(), m_lease) == EBUSY)
        return notFound(Found::inUse, EBUSY);
    return Found::listed;
}

FileAttributeValue ListedFile::GetFileAttributes() const {
    return m_found == Found::listed ? m_attributes : FileAttributeValue::readFailure(m_error);
}

bool ListedFile::SetFileAttributes(const FileAttributeValue& value) {
    if (m_found != Found::listed || !m_guardAllows || !value.isValid())
        return false;
    struct stat st;
    if (fstat(m_entry.get(), &st) != 0)
        return false;
    const long wanted = requestedPermissions(value, st);
    if (wanted < 0)
        return false;
    if (static_cast<std::uint32_t>(wanted) == (st.st_mode & PermissionBits))
        return true;
    if (S_ISLNK(st.st_mode))
        return false;
    return chmod(ProcPath(m_entry.get()).c_str(), static_cast<mode_t>(wanted)) == 0;
}

bool ListedFile::DeleteFile() {
    if (m_found != Found::listed || !m_guardAllows || m_fileType == S_IFDIR)
        return false;
    const bool removed = removeName();
    struct stat st;
    // The names that stay show the mode the file had before the pass changed it.
    if (removed && fstat(m_entry.get(), &st) == 0 && st.st_nlink > 0 && !S_ISLNK(st.st_mode) &&
        (st.st_mode & PermissionBits) != m_attributes.mode())
        chmod(ProcPath(m_entry.get()).c_str(), static_cast<mode_t>(m_attributes.mode()));
    releaseLease();
    return removed;
}

ListedFile::~ListedFile() {
    releaseLease();
}

void ListedFile::releaseLease() {
    // Released explicitly: a forked child that still shares the descriptor would keep it alive.
    if (m_lease)
        fcntl(m_lease.get(), F_SETLEASE, F_UNLCK);
    m_lease.reset();
}

bool ListedFile::removeName() {
    const FileIdentity& pinned = foundIdentity();
    const int folder = m_parent.fd();
    const char* name = m_parent.name().c_str();
    for (int attempt = 0; attempt < PrivateNameAttempts; ++attempt) {
        const std::string hidden = privateName();
        if (renameat2(folder, name, folder, hidden.c_str(), RENAME_NOREPLACE) != 0) {
            if (errno == EEXIST)
                continue;
            // A file system that cannot rename without replacing: check the name once more.
            if (errno == EINVAL || errno == ENOSYS)
                return holdsPinned(folder, name, pinned) && unlinkat(folder, name, 0) == 0;
            return false;
        }
        if (holdsPinned(folder, hidden.c_str(), pinned) && unlinkat(folder, hidden.c_str(), 0) == 0)
            return true;
        // Another file took the name just before the rename, or the unlink failed: the entry
        // goes back under its name. Should the name be taken again meanwhile, the entry stays
        // under the private name rather than replace anything.
        renameat2(folder, hidden.c_str(), folder, name, RENAME_NOREPLACE);
        return false;
    }
    return false;
}

int ListedFile::MoveTo(int folder, const std::string& name) {
    if (m_found != Found::listed || !m_guardAllows || m_fileType == S_IFDIR)
        return EPERM;
    const FileIdentity& pinned = foundIdentity();
    const int from = m_parent.fd();
    const char* fromName = m_parent.name().c_str();
    if (renameat2(from, fromName, folder, name.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        // A file system that cannot rename without replacing: the target is looked at first.
        struct stat taken;
        if (fstatat(folder, name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
            return EEXIST;
        if (!holdsPinned(from, fromName, pinned))
            return ESTALE;
        if (renameat(from, fromName, folder, name.c_str()) != 0)
            return errno;
    }
    if (!holdsPinned(folder, name.c_str(), pinned)) {
        // Another file took the name just before the rename: it goes back where it was.
        renameat2(folder, name.c_str(), from, fromName, RENAME_NOREPLACE);
        return ESTALE;
    }
    releaseLease();
    return 0;
}

bool ListedFile::mayRemoveName() const {
    if (m_found != Found::listed || !m_guardAllows || m_fileType == S_IFDIR)
        return false;
    struct stat folder;
    struct stat file;
    if (fstat(m_parent.fd(), &folder) != 0 || fstat(m_entry.get(), &file) != 0)
        return false;
    if (faccessat(AT_FDCWD, ProcPath(m_parent.fd()).c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return false;
    // In a sticky folder only the owner of the file or of the folder (or root) removes a name.
    const uid_t user = geteuid();
    return !(folder.st_mode & S_ISVTX) || user == 0 || user == folder.st_uid || user == file.st_uid;
}

bool ListedFile::stillPresent() const {
    if (m_found != Found::listed && m_found != Found::missing)
        return true;
    ParentFolder parent;
    if (const int error = parent.open(m_path, &m_listed))
        return !IsMissingError(error);
    struct stat st;
    if (fstatat(parent.fd(), parent.name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return !IsMissingError(errno);
    return static_cast<std::uint64_t>(st.st_dev) == m_listed.device &&
           static_cast<std::uint64_t>(st.st_ino) == m_listed.inode;
}

} // namespace velmaro::platform
