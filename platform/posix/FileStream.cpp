#include "platform/FileStream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace velmaro::platform {

FileStream::~FileStream() {
    close();
}

FileStream::FileStream(FileStream&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileStream& FileStream::operator=(FileStream&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void FileStream::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FileStream::open(const std::string& Path) {
    close();
    // O_NONBLOCK keeps the open itself from waiting for the other end of a FIFO; a device
    // could wait likewise, or do something on open, hence O_NOCTTY too.
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // Reads of a regular file should simply wait for the disk, on every file system.
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_fd = fd;
    return true;
}

std::size_t FileStream::read(void* Buffer, std::size_t Count) {
    if (m_fd < 0)
        return 0;
    auto* out = static_cast<unsigned char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t got = ::read(m_fd, out + done, Count - done);
        if (got > 0)
            done += static_cast<std::size_t>(got);
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return done;
}

bool FileStream::seekBack(std::size_t Count) {
    if (m_fd < 0)
        return false;
    return lseek(m_fd, -static_cast<off_t>(Count), SEEK_CUR) != -1;
}

} // namespace velmaro::platform
