// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderHandle.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace velmaro::platform {

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Whether the open folder fd is the root of a mounted file system. A system without statx
// cannot tell, and the answer is no.
bool isMountRoot(int fd) {
    struct statx sx {};
    return statx(fd, "", AT_EMPTY_PATH, 0, &sx) == 0 &&
           (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
           (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

} // namespace

FolderHandle FolderHandle::open(std::string_view Path, LinkPolicy Links) {
    std::string path(Path);
    // A trailing "/" would make the kernel resolve a link at the last name in any case.
    while (Links == LinkPolicy::NoFollow && path.size() > 1 && path.back() == '/')
        path.pop_back();
    const int noFollow = Links == LinkPolicy::NoFollow ? O_NOFOLLOW : 0;
    return FolderHandle(::open(path.c_str(), FolderFlags | noFollow));
}

FolderHandle FolderHandle::openChild(const char* Name) const {
    if (!valid())
        return {};
    return FolderHandle(openat(m_fd.get(), Name, FolderFlags | O_NOFOLLOW));
}

FolderHandle FolderHandle::openBelow(std::string_view Relative) const {
    if (!valid() || Relative.empty())
        return {};
    // One name at a time: no path is ever longer than one name, so depth has no limit.
    FolderHandle folder;
    std::string name;
    for (std::size_t at = 0; at <= Relative.size();) {
        std::size_t end = Relative.find('/', at);
        if (end == std::string_view::npos)
            end = Relative.size();
        name.assign(Relative.substr(at, end - at));
        if (name.empty() || name == "." || name == "..")
            return {};
        FolderHandle next = (folder.valid() ? folder : *this).openChild(name.c_str());
        if (!next.valid() || isMountRoot(next.descriptor()))
            return {};
        folder = std::move(next);
        at = end + 1;
    }
    return folder;
}

FolderHandle FolderHandle::openParent() const {
    if (!valid())
        return {};
    return FolderHandle(openat(m_fd.get(), "..", FolderFlags));
}

bool FolderHandle::status(FolderStatus& Status) const {
    struct stat st {};
    if (!valid() || fstat(m_fd.get(), &st) != 0)
        return false;
    Status.device = st.st_dev;
    Status.inode = st.st_ino;
    Status.changed = {st.st_ctim.tv_sec, static_cast<std::uint32_t>(st.st_ctim.tv_nsec)};
    Status.removed = st.st_nlink == 0;
    return true;
}

} // namespace velmaro::platform
