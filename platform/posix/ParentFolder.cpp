#include "platform/posix/ParentFolder.h"

#include "platform/posix/PathComponents.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// Cleared once the kernel turned openat2 away (too old, or filtered).
std::atomic<bool> openat2Available{true};

// Opens folderPath in one call, refusing every link on the way. Returns the descriptor, or
// -1 with errno set; ENOSYS when openat2 cannot be used here.
int openWithoutLinks(const std::string& folderPath) {
    if (!openat2Available.load(std::memory_order_relaxed)) {
        errno = ENOSYS;
        return -1;
    }
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS;
    const long fd = syscall(SYS_openat2, AT_FDCWD, folderPath.c_str(), &how, sizeof how);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM)) {
        openat2Available.store(false, std::memory_order_relaxed);
        errno = ENOSYS;
    }
    return static_cast<int>(fd);
}

} // namespace

ParentFolder::~ParentFolder() {
    if (m_fd >= 0)
        close(m_fd);
}

int ParentFolder::open(std::string_view path, Resolution resolution) {
    const auto components = SplitAbsolutePath(path);
    if (!components || components->empty())
        return EINVAL;
    const std::string_view last = components->back();
    const std::string_view folderPath = path.substr(0, last.data() - path.data());
    int error = ENOSYS;
    if (resolution == Resolution::automatic) {
        m_fd = openWithoutLinks(std::string(folderPath));
        error = m_fd >= 0 ? 0 : errno;
    }
    if (error == ENOSYS)
        error = openFolderByFolder(folderPath);
    if (error == 0)
        m_name = std::string(last);
    return error;
}

int ParentFolder::openFolderByFolder(std::string_view folderPath) {
    const auto components = SplitAbsolutePath(folderPath);
    int folder = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return errno;
    for (const std::string_view component : *components) {
        const std::string name(component);
        const int next = openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        const int openError = errno;
        close(folder);
        if (next < 0)
            return openError;
        struct stat st {};
        const int error = fstat(next, &st) != 0  ? errno
                          : S_ISLNK(st.st_mode)  ? ELOOP
                          : !S_ISDIR(st.st_mode) ? ENOTDIR
                                                 : 0;
        if (error != 0) {
            close(next);
            return error;
        }
        folder = next;
    }
    m_fd = folder;
    return 0;
}

} // namespace velmaro::platform
