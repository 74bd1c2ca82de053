#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::testing {

// A fixture tree in a fresh temporary folder, removed again with everything in it. Paths
// given to the helpers are relative to the root; the root itself ends in "/". Header-only for
// the test programs that do not link the test support library; new tests use TempFolder.
class TempTree {
public:
    TempTree() {
        char pattern[] = "/tmp/velmaro-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            ADD_FAILURE() << "mkdtemp failed: " << std::strerror(errno);
        m_root = std::string(pattern) + "/";
    }

    ~TempTree() { removeAll(AT_FDCWD, m_root.c_str()); }

    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return m_root; }
    std::string path(const std::string& relative) const { return m_root + relative; }

    void folder(const std::string& relative) const {
        if (mkdir(path(relative).c_str(), 0755) != 0 && errno != EEXIST)
            ADD_FAILURE() << "mkdir " << relative << ": " << std::strerror(errno);
    }

    void file(const std::string& relative, const std::string& content = {}) const {
        const int fd = open(path(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            ADD_FAILURE() << "create " << relative << ": " << std::strerror(errno);
            return;
        }
        if (!content.empty() && write(fd, content.data(), content.size()) < 0)
            ADD_FAILURE() << "write " << relative;
        close(fd);
    }

    void link(const std::string& target, const std::string& relative) const {
        if (symlink(target.c_str(), path(relative).c_str()) != 0)
            ADD_FAILURE() << "symlink " << relative << ": " << std::strerror(errno);
    }

    // Removes the folder or file at Path below Parent, descending with descriptors only, so
    // that trees deeper than the longest path the system takes go too.
    static void removeAll(int parent, const char* path) {
        const int fd = openat(parent, path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            fchmod(fd, 0755);
            if (DIR* dir = fdopendir(fd)) {
                while (const dirent* entry = readdir(dir)) {
                    const std::string name = entry->d_name;
                    if (name != "." && name != "..")
                        removeAll(dirfd(dir), name.c_str());
                }
                closedir(dir);
            } else {
                close(fd);
            }
            unlinkat(parent, path, AT_REMOVEDIR);
        } else {
            unlinkat(parent, path, 0);
        }
    }

private:
    std::string m_root;
};

} // namespace velmaro::testing
