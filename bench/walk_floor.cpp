// SPDX-License-Identifier: GPL-3.0-or-later
// The walk-only floor of the benchmark: the least any folder walk has to do. A plain depth-first
// walk with openat and readdir that tells folders by the entry type alone (no stat) and counts
// the entries it sees.
//
//   velmaro-walk-floor ROOT

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

long walk(int parentFd, const char* name) {
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return 0;
    }
    long count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        ++count;
        if (entry->d_type == DT_DIR)
            count += walk(dirfd(dir), entry->d_name);
    }
    closedir(dir);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ROOT\n", argv[0]);
        return 2;
    }
    std::printf("%ld\n", walk(AT_FDCWD, argv[1]));
    return 0;
}
