// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeepFolders.h"

#include "TempFolder.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::test {

DeepFolders::DeepFolders(const std::string& base, int depth, std::string name)
    : m_top(base + "/" + name) {
    platform::UniqueFd folder(open(base.c_str(), O_DIRECTORY | O_CLOEXEC));
    m_bottom = base;
    for (int level = 0; folder && level < depth; ++level) {
        if (mkdirat(folder.get(), name.c_str(), 0755) != 0)
            throw std::runtime_error("cannot build the deep folders");
        folder.reset(openat(folder.get(), name.c_str(), O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        m_bottom += '/';
        m_bottom += name;
    }
    if (!folder)
        throw std::runtime_error("cannot open the deep folders");
    m_bottomFd = std::move(folder);
}

DeepFolders::~DeepFolders() {
    m_bottomFd.reset();
    TempFolder::removeTree(m_top);
}

std::string DeepFolders::makeFile(const std::string& name) const {
    platform::UniqueFd file(
        openat(m_bottomFd.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!file || write(file.get(), "x", 1) != 1)
        throw std::runtime_error("cannot make a file in the deep folders");
    return m_bottom + "/" + name;
}

bool DeepFolders::exists(const std::string& name) const {
    struct stat st;
    return fstatat(m_bottomFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace velmaro::test
