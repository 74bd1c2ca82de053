// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the benchmark tree: a deterministic folder tree of about 20,000 folders with 15
// files each, of which a few percent carry junk names. The same arguments always give the
// same tree, so runs on different machines and days compare.
//
//   velmaro-bench-tree ROOT [FOLDERS]

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A fixed linear congruential generator: the tree must not depend on the C library's rand.
class Random {
public:
    std::uint32_t next(std::uint32_t bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 33) % bound;
    }

private:
    std::uint64_t m_state = 20261210;
};

constexpr int filesPerFolder = 15;
constexpr int junkPercent = 3;
constexpr int maxSubfolders = 6;

// Names that the junk masks catch under every matcher the benchmark compares (the Windows
// enumeration rules, find's -iname and fd's glob agree on all of them).
const char* const junkNames[] = {
    "%u.tmp",     "~%u.doc",   "%u.bak", "%u.LOG",     "setup%u.old", "%u.$$$",
    "errlog.txt", "Thumbs.db", "%u.~mp", "core%u.dmp", "%u.chk",      "%u.temp",
};
// Ordinary names that no junk mask catches.
const char* const plainNames[] = {
    "doc%u.txt", "img_%u.png", "data%u.json", "notes%u.md",  "main%u.cpp",
    "lib%u.so",  "Makefile%u", "song%u.mp3",  "page%u.html", "table%u.csv",
};

template <std::size_t N>
std::string pickName(Random& random, const char* const (&names)[N], unsigned serial) {
    char name[64];
    std::snprintf(name, sizeof name, names[random.next(N)], serial);
    return name;
}

void writeFile(const std::string& path, Random& random) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    // Most files are empty, so the tree stays small on disk; one in ten holds some bytes.
    const std::uint32_t size = random.next(10) == 0 ? random.next(4096) : 0;
    static const std::vector<char> bytes(4096, 'x');
    if (write(fd, bytes.data(), size) < 0)
        std::perror(path.c_str());
    close(fd);
}

struct Generator {
    Random random;
    int foldersLeft = 0;
    unsigned serial = 0;
    long files = 0;
    long junk = 0;

    void fill(const std::string& folder, int depth) {
        for (int i = 0; i < filesPerFolder; ++i) {
            const bool isJunk = static_cast<int>(random.next(100)) < junkPercent;
            const std::string name = isJunk ? pickName(random, junkNames, serial++)
                                            : pickName(random, plainNames, serial++);
            writeFile(folder + name, random);
            ++files;
            junk += isJunk;
        }
        const int subfolders = depth >= 7 ? 0 : static_cast<int>(random.next(maxSubfolders)) + 1;
        for (int i = 0; i < subfolders && foldersLeft > 0; ++i) {
            const std::string sub = folder + "dir" + std::to_string(serial++) + "/";
            if (mkdir(sub.c_str(), 0755) != 0 && errno != EEXIST) {
                std::perror(sub.c_str());
                std::exit(1);
            }
            --foldersLeft;
            fill(sub, depth + 1);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s ROOT [FOLDERS]\n", argv[0]);
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/')
        root += '/';
    Generator generator;
    generator.foldersLeft = argc == 3 ? std::atoi(argv[2]) : 20000;
    if (mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        std::perror(root.c_str());
        return 1;
    }
    // Top-level folders keep being added until the count is reached, so the tree stays wide.
    const int total = generator.foldersLeft;
    while (generator.foldersLeft > 0) {
        const std::string top = root + "top" + std::to_string(generator.serial++) + "/";
        mkdir(top.c_str(), 0755);
        --generator.foldersLeft;
        generator.fill(top, 1);
    }
    std::printf("%d folders, %ld files, %ld junk\n", total, generator.files, generator.junk);
    return 0;
}
