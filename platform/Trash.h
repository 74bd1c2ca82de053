// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::platform {

class ListedFile;

// The desktop's trash as freedesktop.org's Trash standard lays it out, for one user.
// A file on the file system of the user's data folder goes into the home trash
// ($XDG_DATA_HOME/Trash, by default ~/.local/share/Trash); a file on any other drive goes
// into that drive's trash below its top directory (the mount point): "$top/.Trash/$uid" when
// "$top/.Trash" is a real folder (not a link) with the sticky bit, else "$top/.Trash-$uid".
// A trash, its "files" and its "info" folders are created with mode 0700 where missing; a
// trash folder that is a link, or that another user owns, is never used.
//
// Each file gets "info/<entry>.trashinfo" first (created exclusively, never through a link;
// Path= the original path, absolute for the home trash and relative to the top directory
// otherwise, percent-encoded; DeletionDate= local time), and is then renamed from its own
// opened folder into "files/<entry>" without replacing anything (ListedFile::MoveTo); when
// the rename fails, the info file is removed again. A name already taken in the trash gets a
// number ("a.2.tmp", "a.3.tmp", ...). A file that no trash can take stays where it is: it is
// never deleted instead. The fixture guard applies to the trash folders as to the files.
//
// Not thread-safe; an object belongs to the thread that made it.
class Trash {
public:
    // The trash of the user uid whose data folder (XDG_DATA_HOME) is dataHome, an absolute
    // path; an empty or relative one leaves only the drives' trashes.
    Trash(std::string dataHome, std::uint32_t uid);
    ~Trash();
    Trash(const Trash&) = delete;
    Trash& operator=(const Trash&) = delete;

    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty when neither
    // is set to an absolute path.
    static std::string DataHomeFromEnvironment();

    // Moves file, found as listed (Found::listed) at path (absolute, raw bytes), into the trash
    // of its drive. Returns 0 when it moved; otherwise the error, and the file stays.
    int moveToTrash(ListedFile& file, std::string_view path);

private:
    struct Folder;

    // The trash that takes a file lying on the given device and mount (0: not known), or
    // nullptr with the error set; opened (and made) the first time it is asked for.
    Folder* trashFor(std::uint64_t device, std::uint64_t mount, std::string_view path, int& error);
    Folder* homeTrash(int& error);
    Folder* topDirectoryTrash(std::uint64_t device, std::uint64_t mount, std::string_view path,
                              int& error);

    std::string m_dataHome;
    std::uint32_t m_uid;
    // The home trash's file system, looked up once: whether known, its device and mount.
    bool m_homeLooked = false;
    bool m_homeKnown = false;
    std::uint64_t m_homeDevice = 0;
    std::uint64_t m_homeMount = 0;
    std::unique_ptr<Folder> m_home;
    // The mount points of the mount table, read once, when a drive's trash is first needed.
    bool m_mountsRead = false;
    std::vector<std::string> m_mountPoints;
    // The drives' trashes by the mount point of their top directory.
    std::map<std::string, std::unique_ptr<Folder>> m_drives;
};

} // namespace velmaro::platform
