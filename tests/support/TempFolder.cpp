// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempFolder.h"

#include "platform/FixtureRoots.h"
#include "platform/FolderHandle.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/fs.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace velmaro::test {

using platform::FolderHandle;
using platform::FolderStatus;
using platform::UniqueFd;

namespace {

constexpr mode_t FolderMode = 0755;
// What the removal needs of a folder: to list it, to enter it and to remove entries from it.
constexpr mode_t OwnerAll = S_IRWXU;
constexpr int ProtectionFlags = FS_IMMUTABLE_FL | FS_APPEND_FL;

[[noreturn]] void fail(const char* what, std::string_view path) {
    throw std::runtime_error(std::string(what) + " " + std::string(path) + ": " +
                             std::strerror(errno));
}

std::string temporaryBase() {
    const char* base = std::getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}

// Clears the immutable and append-only flags of the open entry; file systems without such
// flags have nothing to clear, so a failure here only shows in the removal that follows.
void clearProtection(int fd) {
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & ProtectionFlags)) {
        flags &= ~ProtectionFlags;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
}

// Makes the open folder one whose entries can be listed and removed.
void openUp(int folder) {
    struct stat st {};
    if (fstat(folder, &st) == 0 && (st.st_mode & OwnerAll) != OwnerAll)
        fchmod(folder, (st.st_mode & 07777) | OwnerAll);
    clearProtection(folder);
}

// Clears the protection flags of the entry name in parent. Only called once a removal was
// refused, so that ordinary entries are never opened; a link or a socket cannot be opened
// and carries no such flags.
void clearProtectionOf(int parent, const char* name) {
    const UniqueFd entry(
        openat(parent, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (entry)
        clearProtection(entry.get());
}

// Opens the folder name in parent to empty it, opening it up first when its permissions keep
// this process out. Refuses a link, a folder on which a file system is mounted and a folder of
// another file system than device.
FolderHandle openFolder(const FolderHandle& parent, const char* name, dev_t device) {
    errno = 0;
    FolderHandle folder = parent.openBelow(name);
    if (!folder.valid() && errno == EACCES && fchmodat(parent.descriptor(), name, OwnerAll, 0) == 0)
        folder = parent.openBelow(name);
    FolderStatus status;
    if (!folder.status(status) || status.device != device)
        return {};
    openUp(folder.descriptor());
    return folder;
}

// The names in the open folder, without "." and "..".
std::vector<std::string> namesIn(int folder) {
    std::vector<std::string> names;
    DIR* listing = fdopendir(dup(folder));
    if (!listing)
        return names;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(listing);
    return names;
}

// Removes the entry name in parent unless it is a folder; true when it is gone.
bool removeNonFolder(int parent, const char* name) {
    if (unlinkat(parent, name, 0) == 0 || errno == ENOENT)
        return true;
    if (errno != EPERM && errno != EACCES)
        return false;
    clearProtectionOf(parent, name);
    return unlinkat(parent, name, 0) == 0;
}

// Removes the folder name in parent once it is empty; true when it is gone.
bool removeEmptyFolder(int parent, const char* name) {
    if (unlinkat(parent, name, AT_REMOVEDIR) == 0 || errno == ENOENT)
        return true;
    clearProtectionOf(parent, name);
    return unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

// Removes the folder name in parent and everything below it, on the file system of device.
// The walk holds two descriptors at the most, whatever the depth: it keeps the names still to
// remove at each level and climbs back through "..", since it entered each folder itself.
bool removeFolder(const FolderHandle& parent, const std::string& name, dev_t device) {
    struct Level {
        std::string name;
        std::vector<std::string> pending;
    };
    FolderHandle folder = openFolder(parent, name.c_str(), device);
    if (!folder.valid())
        return false;
    std::vector<Level> levels{{name, namesIn(folder.descriptor())}};
    bool complete = true;
    while (true) {
        Level& level = levels.back();
        if (!level.pending.empty()) {
            const std::string entry = std::move(level.pending.back());
            level.pending.pop_back();
            if (removeNonFolder(folder.descriptor(), entry.c_str()))
                continue;
            if (errno != EISDIR) {
                complete = false;
                continue;
            }
            FolderHandle child = openFolder(folder, entry.c_str(), device);
            if (!child.valid()) {
                complete = false;
                continue;
            }
            std::vector<std::string> names = namesIn(child.descriptor());
            levels.push_back({entry, std::move(names)});
            folder = std::move(child);
            continue;
        }
        if (levels.size() == 1)
            break;
        FolderHandle above = folder.openParent();
        if (!above.valid())
            return false;
        complete = removeEmptyFolder(above.descriptor(), level.name.c_str()) && complete;
        levels.pop_back();
        folder = std::move(above);
    }
    folder.close();
    return removeEmptyFolder(parent.descriptor(), name.c_str()) && complete;
}

// Removes the entry name in parent, a folder with everything below it.
bool removeEntry(const FolderHandle& parent, const std::string& name) {
    struct stat st {};
    if (fstatat(parent.descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return removeNonFolder(parent.descriptor(), name.c_str());
    return removeFolder(parent, name, st.st_dev);
}

// Makes the folder path with exactly FolderMode, whatever the umask; true also when it exists.
bool makeFolder(const std::string& path) {
    if (mkdir(path.c_str(), FolderMode) == 0)
        return chmod(path.c_str(), FolderMode) == 0;
    return errno == EEXIST;
}

// Creates every missing folder of path but its last component; false with errno set when one
// cannot be made. Tries the nearest folder first, so that a deep tree built folder by folder
// costs one call per folder.
bool makeParents(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == 0 || slash == std::string::npos)
        return true;
    const std::string parent = path.substr(0, slash);
    if (makeFolder(parent))
        return true;
    return errno == ENOENT && makeParents(parent) && makeFolder(parent);
}

} // namespace

TempFolder::TempFolder(Guard guard) : m_registered(guard == Guard::fixtureRoot) {
    std::string pattern = temporaryBase() + "/velmaro-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        fail("cannot make the temporary folder", pattern);
    char* resolved = realpath(pattern.c_str(), nullptr);
    if (!resolved) {
        const int error = errno;
        rmdir(pattern.c_str());
        errno = error;
        fail("cannot resolve the temporary folder", pattern);
    }
    m_root = std::string(resolved) + "/";
    std::free(resolved);
    if (m_registered && !platform::RegisterFixtureRoot(path())) {
        rmdir(path().c_str());
        throw std::runtime_error("cannot register the fixture root " + path());
    }
}

TempFolder::~TempFolder() {
    if (m_registered)
        platform::UnregisterFixtureRoot(path());
    removeTree(path());
}

std::string TempFolder::path(std::string_view relative) const {
    if (relative.empty())
        return m_root.substr(0, m_root.size() - 1);
    return m_root + std::string(relative);
}

std::string TempFolder::file(std::string_view relative, std::string_view bytes, mode_t mode) const {
    const std::string target = path(relative);
    if (!makeParents(target))
        fail("cannot make the folders of", target);
    const UniqueFd out(open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (!out)
        fail("cannot create", target);
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t step = write(out.get(), bytes.data() + written, bytes.size() - written);
        if (step < 0)
            fail("cannot write", target);
        written += static_cast<std::size_t>(step);
    }
    if (fchmod(out.get(), mode) != 0)
        fail("cannot set the mode of", target);
    return target;
}

std::string TempFolder::folder(std::string_view relative, mode_t mode) const {
    std::string target = path(relative);
    while (target.size() > 1 && target.back() == '/')
        target.pop_back();
    if (!makeParents(target))
        fail("cannot make the folders of", target);
    if (!makeFolder(target))
        fail("cannot make the folder", target);
    if (chmod(target.c_str(), mode) != 0)
        fail("cannot set the mode of", target);
    return target;
}

std::string TempFolder::link(std::string_view target, std::string_view relative) const {
    const std::string at = path(relative);
    if (!makeParents(at))
        fail("cannot make the folders of", at);
    if (symlink(std::string(target).c_str(), at.c_str()) != 0)
        fail("cannot make the link", at);
    return at;
}

std::string TempFolder::fifo(std::string_view relative, mode_t mode) const {
    const std::string at = path(relative);
    if (!makeParents(at))
        fail("cannot make the folders of", at);
    if (mkfifo(at.c_str(), mode) != 0 || chmod(at.c_str(), mode) != 0)
        fail("cannot make the FIFO", at);
    return at;
}

std::string TempFolder::socket(std::string_view relative) const {
    const std::string at = path(relative);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (at.size() >= sizeof address.sun_path)
        throw std::runtime_error("too long for a socket address: " + at);
    at.copy(address.sun_path, at.size());
    if (!makeParents(at))
        fail("cannot make the folders of", at);
    const UniqueFd bound(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!bound ||
        bind(bound.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        fail("cannot make the socket", at);
    return at;
}

void TempFolder::setTimes(std::string_view relative, timespec accessed, timespec modified) const {
    const timespec times[2] = {accessed, modified};
    const std::string target = path(relative);
    if (utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        fail("cannot set the times of", target);
}

void TempFolder::clear() const {
    const FolderHandle folder = FolderHandle::open(m_root, FolderHandle::LinkPolicy::NoFollow);
    if (!folder.valid())
        fail("cannot open", m_root);
    openUp(folder.descriptor());
    bool complete = true;
    for (const std::string& name : namesIn(folder.descriptor()))
        complete = removeEntry(folder, name) && complete;
    if (!complete)
        throw std::runtime_error("cannot empty " + m_root);
}

bool TempFolder::removeTree(const std::string& path) {
    std::string entry = path;
    while (entry.size() > 1 && entry.back() == '/')
        entry.pop_back();
    const std::size_t slash = entry.rfind('/');
    const std::string parentPath = slash == std::string::npos ? "."
                                   : slash == 0               ? "/"
                                                              : entry.substr(0, slash);
    const std::string name = slash == std::string::npos ? entry : entry.substr(slash + 1);
    const FolderHandle parent = FolderHandle::open(parentPath);
    const bool removed = parent.valid() ? removeEntry(parent, name) : errno == ENOENT;
    if (!removed)
        std::fprintf(stderr, "test folder: could not remove all of %s\n", path.c_str());
    return removed;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool entryExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

int permissionsOf(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

} // namespace velmaro::test
