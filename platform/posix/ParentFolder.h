// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"
#include "platform/posix/UniqueFd.h"

#include <string>
#include <string_view>

namespace velmaro::platform {

struct EntryStatus;

// The folder that holds the last component of an absolute path, opened (O_PATH) without
// following a symbolic link anywhere on the way, and that component's name. The file
// operations act on the name relative to the folder, so a folder replaced by a link later
// cannot redirect them, and a path of any length can be reached (the folders are opened in
// pieces shorter than PATH_MAX).
class ParentFolder {
public:
    // How the folders are opened: with openat2 and RESOLVE_NO_SYMLINKS where the kernel has
    // it, else one folder after the other with O_NOFOLLOW. Both give the same answers; the
    // walk is selectable so that tests cover it on any kernel.
    enum class Resolution { automatic, folderByFolder };

    // Opens the parent of path. Returns 0, or the error: ELOOP when a folder of the path is a
    // link, ENOTDIR when it is something else that is not a folder, EINVAL for a relative
    // path, one with a "." or ".." component, or "/" itself; otherwise what the system said.
    //
    // With listed (the identity of the file as the search listed it, its device not 0) the
    // folder must also lie on the mount that file was listed on (on its device where no mount
    // is recorded): EXDEV when it does not, so a file system mounted over a folder of the path
    // later is never entered. A folder missing on the way counts as missing (ENOENT, ENOTDIR)
    // only when it was looked up on that mount; elsewhere (the listed mount not reached yet,
    // or left) the answer is EXDEV, so that a drive that was unmounted, or a mount that hides
    // the folder, never passes for a deleted file.
    int open(std::string_view path, const FileIdentity* listed = nullptr,
             Resolution resolution = Resolution::automatic);

    int fd() const { return m_fd.get(); }
    const std::string& name() const { return m_name; }

private:
    int openFolderByFolder(std::string_view folderPath, const FileIdentity* listed);

    UniqueFd m_fd;
    std::string m_name;
};

// Whether two entries, each seen on a device and a mount (the system's mount id, 0 where none
// was named), lie on the same mount: the devices agree and so do the mounts where both sides
// name one.
bool OnSameMount(std::uint64_t device, std::uint64_t mount, std::uint64_t otherDevice,
                 std::uint64_t otherMount);

// Whether the entry statEntry described lies on the mount on which the listed file was seen.
bool OnListedMount(const EntryStatus& entry, const FileIdentity& listed);

} // namespace velmaro::platform
