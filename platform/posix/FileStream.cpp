// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileStream.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace velmaro::platform {

bool FileStream::open(const std::string& Path) {
    m_fd.reset();
    // O_NONBLOCK keeps the open itself from waiting for the other end of a FIFO; a device
    // could wait likewise, or do something on open, hence O_NOCTTY too.
    UniqueFd file(::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!file || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd = file.get();
    // Reads of a regular file should simply wait for the disk, on every file system.
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_fd = std::move(file);
    return true;
}

std::size_t FileStream::read(void* Buffer, std::size_t Count) {
    if (!m_fd)
        return 0;
    auto* out = static_cast<unsigned char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t got = ::read(m_fd.get(), out + done, Count - done);
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
    if (!m_fd)
        return false;
    return lseek(m_fd.get(), -static_cast<off_t>(Count), SEEK_CUR) != -1;
}

} // namespace velmaro::platform
