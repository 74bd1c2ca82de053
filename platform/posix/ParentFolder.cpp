// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/ParentFolder.h"

#include "platform/FileOperations.h"
#include "platform/posix/EntryStatus.h"
#include "platform/posix/PathComponents.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/openat2.h>
#include <span>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// The longest piece of a path handed to the kernel in one call (PATH_MAX counts the NUL).
constexpr std::size_t PieceLength = PATH_MAX - 1;

// Cleared once the kernel turned openat2 away (too old, or filtered).
std::atomic<bool> openat2Available{true};

// Opens piece relative to folder in one call, refusing every link on the way. Returns the
// descriptor, or -1 with errno set; ENOSYS when openat2 cannot be used here.
int openPieceWithoutLinks(int folder, const std::string& piece) {
    if (!openat2Available.load(std::memory_order_relaxed)) {
        errno = ENOSYS;
        return -1;
    }
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS;
    const long fd = syscall(SYS_openat2, folder, piece.c_str(), &how, sizeof how);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM)) {
        openat2Available.store(false, std::memory_order_relaxed);
        errno = ENOSYS;
    }
    return static_cast<int>(fd);
}

// Opens the folders of components from "/" in pieces shorter than PATH_MAX, so that depth has
// no limit. Returns 0 with the last folder in folder, or the error.
int openWithoutLinks(std::span<const std::string_view> components, UniqueFd& folder) {
    std::string piece = "/";
    std::size_t next = 0;
    do {
        while (next < components.size() &&
               (piece.empty() || piece.size() + 1 + components[next].size() <= PieceLength)) {
            if (!piece.empty() && piece.back() != '/')
                piece += '/';
            piece += components[next++];
        }
        const int from = folder ? folder.get() : AT_FDCWD;
        UniqueFd opened(openPieceWithoutLinks(from, piece));
        if (!opened)
            return errno;
        folder = std::move(opened);
        piece.clear();
    } while (next < components.size());
    return 0;
}

// 0 when the folder open at fd lies on the listed file's mount, else EXDEV or the error of
// describing it.
int checkListedMount(int fd, const FileIdentity& listed) {
    EntryStatus status;
    if (const int error = statEntry(fd, "", status))
        return error;
    return OnListedMount(status, listed) ? 0 : EXDEV;
}

} // namespace

bool OnSameMount(std::uint64_t device, std::uint64_t mount, std::uint64_t otherDevice,
                 std::uint64_t otherMount) {
    return device == otherDevice && (mount == 0 || otherMount == 0 || mount == otherMount);
}

bool OnListedMount(const EntryStatus& entry, const FileIdentity& listed) {
    return OnSameMount(entry.device, entry.mount, listed.device, listed.mount);
}

int ParentFolder::open(std::string_view path, const FileIdentity* listed, Resolution resolution) {
    const auto components = SplitAbsolutePath(path);
    if (!components || components->empty())
        return EINVAL;
    if (listed && listed->device == 0)
        listed = nullptr;
    m_fd.reset();
    const std::string_view last = components->back();
    const std::string_view folderPath = path.substr(0, last.data() - path.data());
    int error = ENOSYS;
    if (resolution == Resolution::automatic) {
        error = openWithoutLinks(std::span(*components).first(components->size() - 1), m_fd);
        if (error == 0 && listed)
            error = checkListedMount(m_fd.get(), *listed);
        // Only the walk folder by folder can tell on which mount a folder went missing.
        if (listed && IsMissingError(error))
            error = ENOSYS;
    }
    if (error == ENOSYS)
        error = openFolderByFolder(folderPath, listed);
    if (error == 0)
        m_name = std::string(last);
    else
        m_fd.reset();
    return error;
}

int ParentFolder::openFolderByFolder(std::string_view folderPath, const FileIdentity* listed) {
    const auto components = SplitAbsolutePath(folderPath);
    UniqueFd folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return errno;
    EntryStatus status;
    if (const int error = statEntry(folder.get(), "", status))
        return error;
    bool onListedMount = listed && OnListedMount(status, *listed);
    // A lookup that finds nothing says that the file is gone only on the file's own mount.
    const auto missingOr = [&](int error) {
        return listed && IsMissingError(error) && !onListedMount ? EXDEV : error;
    };
    for (const std::string_view component : *components) {
        const std::string name(component);
        UniqueFd next(openat(folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!next)
            return missingOr(errno);
        if (const int error = statEntry(next.get(), "", status))
            return error;
        if (S_ISLNK(status.mode))
            return ELOOP;
        if (!S_ISDIR(status.mode))
            return missingOr(ENOTDIR);
        const bool nextOnListedMount = listed && OnListedMount(status, *listed);
        if (onListedMount && !nextOnListedMount)
            return EXDEV;
        onListedMount = nextOnListedMount;
        folder = std::move(next);
    }
    if (listed && !onListedMount)
        return EXDEV;
    m_fd = std::move(folder);
    return 0;
}

} // namespace velmaro::platform
