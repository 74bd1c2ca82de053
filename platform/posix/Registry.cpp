#include "platform/Registry.h"

#include "platform/RegistryFormat.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// A whole settings file is a few kilobytes; anything far larger is not ours to parse.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now and tells whether the close succeeded (a late write error shows here).
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::mutex& processMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p: every missing folder of the path, mode 0700.
bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (errno != ENOENT)
        return false;
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

enum class ReadState { Missing, Read, TooLarge, Failed };

ReadState readWhole(const std::string& path, std::string& bytes) {
    bytes.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT ? ReadState::Missing : ReadState::Failed;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return ReadState::Failed;
    if (st.st_size > kMaxFileSize)
        return ReadState::TooLarge;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return ReadState::Read;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadState::Failed;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<off_t>(bytes.size()) > kMaxFileSize)
            return ReadState::TooLarge;
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes bytes to "<path>.new", flushes it and renames it over path, then flushes the
// folder so the rename itself is durable.
bool replaceFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".new";
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        return false;
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close() ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    FileDescriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}

// Opens (creating it when missing) and exclusively locks the lock file. A lock file that
// exists but may not be written is locked through a read-only descriptor.
int lockFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

} // namespace

Registry::Registry(std::string filePath) : m_filePath(std::move(filePath)) {}

std::string Registry::DefaultPath() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
            home = env;
        } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
            home = entry->pw_dir;
        }
        if (home.empty())
            return {};
        config = home + "/.config";
    }
    return config + "/Quarno Labs/Velmaro 2.reg";
}

RegistryTree Registry::read() const {
    std::string bytes;
    if (readWhole(m_filePath, bytes) != ReadState::Read)
        return {};
    return ParseRegistryText(bytes).value_or(RegistryTree{});
}

Registry::UpdateResult Registry::update(const std::function<void(RegistryTree&)>& edit) const {
    std::lock_guard guard(processMutex());
    if (!makeFolders(folderOf(m_filePath)))
        return UpdateResult::FolderFailed;
    const FileDescriptor lock(lockFile(m_filePath + ".lock"));
    if (lock.get() < 0)
        return UpdateResult::FolderFailed;

    std::string bytes;
    const ReadState state = readWhole(m_filePath, bytes);
    if (state == ReadState::Failed)
        return UpdateResult::ReadFailed;
    std::optional<RegistryTree> present;
    if (state != ReadState::Missing) {
        if (state == ReadState::Read)
            present = ParseRegistryText(bytes);
        if (!present && ::rename(m_filePath.c_str(), (m_filePath + ".bad").c_str()) != 0)
            return UpdateResult::WriteFailed;
    }

    RegistryTree tree = present.value_or(RegistryTree{});
    edit(tree);
    if (present && tree == *present)
        return UpdateResult::Done;
    const auto text = FormatRegistryText(tree);
    if (!text || !replaceFile(m_filePath, *text))
        return UpdateResult::WriteFailed;
    return UpdateResult::Done;
}

} // namespace velmaro::platform
