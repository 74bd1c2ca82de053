// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/posix/UniqueFd.h"

#include <string>

namespace velmaro::test {

// A chain of nested folders of one name below a folder, deeper than a path can name in one
// system call (PATH_MAX), built and removed relative to descriptors. The bottom folder stays
// open, so a test can make and look at files there without naming them by their full paths.
class DeepFolders {
public:
    // Builds depth folders called name below base (an existing folder). Throws when that fails.
    DeepFolders(const std::string& base, int depth, std::string name = "d");
    // Removes the chain with everything left in it.
    ~DeepFolders();
    DeepFolders(const DeepFolders&) = delete;
    DeepFolders& operator=(const DeepFolders&) = delete;

    // The absolute path of the bottom folder, without a trailing "/".
    const std::string& bottom() const { return m_bottom; }

    // Creates the file name at the bottom and returns its absolute path.
    std::string makeFile(const std::string& name) const;

    // Whether name exists at the bottom.
    bool exists(const std::string& name) const;

private:
    std::string m_top;
    std::string m_bottom;
    platform::UniqueFd m_bottomFd;
};

} // namespace velmaro::test
