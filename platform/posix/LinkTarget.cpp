// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/LinkTarget.h"

#include "platform/posix/PathText.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// As many links as the kernel follows in one path lookup.
constexpr int kMaxLinks = 40;

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string LinkTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT && hop > 0 && isFolder(FolderOf(current)))
                return current;
            return path;
        }
        if (!S_ISLNK(st.st_mode))
            return S_ISREG(st.st_mode) ? current : path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target)
            return path;
        const std::string_view text(target, static_cast<std::size_t>(length));
        current =
            text.front() == '/' ? std::string(text) : FolderOf(current) + "/" + std::string(text);
    }
    return path;
}

} // namespace velmaro::platform
