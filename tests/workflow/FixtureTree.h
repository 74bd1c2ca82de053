#pragma once

#include <QTest>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A fixture tree in a fresh temporary folder, removed again with everything in it. Names are
// raw bytes relative to the root, which ends in "/"; they need not be valid in any encoding.
class FixtureTree {
public:
    FixtureTree() {
        char pattern[] = "/tmp/velmaro-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            QTest::qFail("mkdtemp failed", __FILE__, __LINE__);
        m_root = std::string(pattern) + "/";
    }

    ~FixtureTree() {
        nftw(
            m_root.c_str(),
            [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); },
            16, FTW_DEPTH | FTW_PHYS);
    }

    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    const std::string& root() const { return m_root; }

    // Creates the folder; false (and a test failure) when it cannot.
    bool folder(const std::string& relative) const {
        const bool made = mkdir((m_root + relative).c_str(), 0755) == 0;
        if (!made)
            QTest::qFail(("mkdir " + relative).c_str(), __FILE__, __LINE__);
        return made;
    }

    // Creates the file with Size bytes; false (and a test failure) when it cannot.
    bool file(const std::string& relative, std::size_t size = 0) const {
        const int fd = open((m_root + relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool made = fd >= 0 && ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (fd >= 0)
            close(fd);
        if (!made)
            QTest::qFail(("create " + relative).c_str(), __FILE__, __LINE__);
        return made;
    }

private:
    std::string m_root;
};
