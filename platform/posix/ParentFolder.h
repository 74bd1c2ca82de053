#pragma once

#include <string>
#include <string_view>

namespace velmaro::platform {

// The folder that holds the last component of an absolute path, opened (O_PATH) without
// following a symbolic link anywhere on the way, and that component's name. The file
// operations act on the name relative to the folder, so a folder replaced by a link later
// cannot redirect them.
class ParentFolder {
public:
    // How the folders are opened: in one openat2 call with RESOLVE_NO_SYMLINKS where the
    // kernel has it, else one folder after the other with O_NOFOLLOW. Both give the same
    // answers; the walk is selectable so that tests cover it on any kernel.
    enum class Resolution { automatic, folderByFolder };

    ParentFolder() = default;
    ~ParentFolder();
    ParentFolder(const ParentFolder&) = delete;
    ParentFolder& operator=(const ParentFolder&) = delete;

    // Opens the parent of path. Returns 0, or the error: ELOOP when a folder of the path is a
    // link, ENOTDIR when it is something else that is not a folder, EINVAL for a relative
    // path, one with a "." or ".." component, or "/" itself; otherwise what the system said.
    int open(std::string_view path, Resolution resolution = Resolution::automatic);

    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }

private:
    int openFolderByFolder(std::string_view folderPath);

    int m_fd = -1;
    std::string m_name;
};

} // namespace velmaro::platform
