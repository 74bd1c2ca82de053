// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>
#include <utility>

namespace velmaro::platform {

// Owns one file descriptor and closes it when it goes; -1 owns nothing. Move-only, so every
// descriptor the platform layer opens has exactly one owner.
class UniqueFd {
public:
    UniqueFd() noexcept = default;
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd() { reset(); }

    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }
    explicit operator bool() const noexcept { return valid(); }

    // Gives the descriptor up without closing it.
    int release() noexcept { return std::exchange(m_fd, -1); }

    // Closes what it owns and takes fd instead.
    void reset(int fd = -1) noexcept {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

    // Closes what it owns and tells whether the close succeeded (a write's last chance to fail).
    bool close() noexcept {
        if (m_fd < 0)
            return true;
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

private:
    int m_fd = -1;
};

} // namespace velmaro::platform
