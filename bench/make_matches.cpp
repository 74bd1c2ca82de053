// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a tree of FILES empty files named N.tmp, 1,000 to a folder, so that a search for junk
// lists every one of them once: the load of the window's result list.
//
//   velmaro-bench-matches ROOT FILES

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr long filesPerFolder = 1000;

bool makeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    std::perror(path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const long files = argc == 3 ? std::atol(argv[2]) : 0;
    if (files <= 0) {
        std::fprintf(stderr, "usage: %s ROOT FILES\n", argv[0]);
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/')
        root += '/';
    if (!makeFolder(root))
        return 1;
    for (long i = 0; i < files; ++i) {
        const std::string folder = root + "d" + std::to_string(i / filesPerFolder) + "/";
        if (i % filesPerFolder == 0 && !makeFolder(folder))
            return 1;
        const int fd =
            open((folder + std::to_string(i) + ".tmp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::perror(folder.c_str());
            return 1;
        }
        close(fd);
    }
    std::printf("%ld files in %ld folders\n", files, (files + filesPerFolder - 1) / filesPerFolder);
    return 0;
}
