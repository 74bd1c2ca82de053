// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"
#include "platform/posix/UniqueFd.h"

#include <cstdint>
#include <string_view>

namespace velmaro::platform {

// What the system says of an open folder at the moment of asking.
struct FolderStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // The last change of the folder's own record, which every entry added, removed or renamed
    // in it moves too.
    FileStamp changed;
    // The folder was deleted since it was opened (an open folder stays readable, and empty).
    bool removed = false;
};

// One open folder: the anchor from which a walker reads the folder's entries and opens its
// subfolders by name, so that no path is looked up again and depth has no limit.
//
// Move-only; the handle closes its folder when it goes. Several threads may open subfolders
// of one handle or ask its status at the same time; closing it or moving it while another
// thread uses it is not allowed.
class FolderHandle {
public:
    // Whether open() may follow a symbolic link that stands at the path's last name.
    enum class LinkPolicy : std::uint8_t { Follow, NoFollow };

    // A handle that holds no folder.
    FolderHandle() = default;

    // Opens the folder Path (raw bytes; a trailing "/" is allowed). With NoFollow a symbolic
    // link at the last name is refused, trailing "/" or not. The result is not valid() when
    // the folder cannot be opened.
    static FolderHandle open(std::string_view Path, LinkPolicy Links = LinkPolicy::Follow);

    // Opens the subfolder Name (one name: no "/", NUL-terminated) of this folder, refusing a
    // symbolic link. Not valid() when this handle is not, or the entry is no folder.
    FolderHandle openChild(const char* Name) const;

    // Opens the folder Relative ("a/b/c": names separated by "/", no "." or "..") below this
    // one, never through a symbolic link and never into another mounted file system, however
    // long Relative is. Not valid() when any folder on the way cannot be opened so.
    FolderHandle openBelow(std::string_view Relative) const;

    // Opens the folder that holds this one now (which is not the one that held it when it was
    // opened if it was moved since). Not valid() when it cannot be opened.
    FolderHandle openParent() const;

    // Fills Status for the open folder. False when the handle is not valid or the system
    // cannot tell.
    bool status(FolderStatus& Status) const;

    bool valid() const { return m_fd.valid(); }

    // Closes the folder; the handle holds none afterwards.
    void close() { m_fd.reset(); }

    // The folder's descriptor, for the platform layer's own calls; -1 when not valid().
    int descriptor() const { return m_fd.get(); }

private:
    explicit FolderHandle(int fd) : m_fd(fd) {}

    UniqueFd m_fd;
};

} // namespace velmaro::platform
