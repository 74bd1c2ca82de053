// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/KeepAside.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace velmaro::platform {

namespace {

// Names to try; a folder holding this many kept-aside files has a problem no new name solves.
constexpr int kMaxNumber = 1000;

// rename() that fails with EEXIST instead of replacing an existing entry. Where the file
// system cannot do that in one step, the name is tested first: the caller holds the writers'
// lock, so only someone outside the program could take it in between.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::optional<std::string> KeepAside(const std::string& path) {
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::string aside =
            number == 1 ? path + ".bad" : path + "." + std::to_string(number) + ".bad";
        if (renameNoReplace(path, aside))
            return aside;
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace velmaro::platform
