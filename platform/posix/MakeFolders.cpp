// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/MakeFolders.h"

#include "platform/posix/PathText.h"

#include <cerrno>
#include <sys/stat.h>

namespace velmaro::platform {

bool MakeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return true;
        errno = ENOTDIR;
        return false;
    }
    if (errno != ENOENT)
        return false;
    const std::string parent = FolderOf(folder);
    if (parent != folder && !MakeFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace velmaro::platform
