// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velmaro::test {

// A fresh folder for one test's files, removed with everything in it when the object goes:
// folders and files a test left read-only or without any permission, files and folders it
// made immutable or append-only (where the process may reset those flags), and trees deeper
// than the longest path the system takes. The removal never follows a link and never enters
// another file system mounted below the folder.
//
// Names are raw bytes relative to the folder; they need not be valid in any encoding. The
// helpers that make entries throw std::runtime_error, naming the entry and the system's
// reason, when the system refuses; GoogleTest reports that as a failure of the test, Qt Test
// as an unhandled exception that ends the program. No test framework is needed, so GoogleTest
// and Qt Test programs, and benchmarks, use it alike. Any thread may use an object, one at a
// time.
class TempFolder {
public:
    // Whether the folder is registered as a fixture root with the deletion layer's guard
    // (platform/FixtureRoots.h): deletion tests make their trees in a registered folder, from
    // which point on the guard refuses every change outside the registered folders. An
    // unregistered folder serves as the "outside" such a test must never touch.
    enum class Guard { none, fixtureRoot };

    // Makes the folder in $TMPDIR (/tmp when unset), registered as Guard asks. Throws
    // std::runtime_error when the folder cannot be made or registered.
    explicit TempFolder(Guard guard = Guard::none);
    // Unregisters the folder, then removes it with everything below it; what cannot be removed
    // is named on standard error, never left silently.
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's absolute path, free of links, ending in "/".
    const std::string& root() const { return m_root; }

    // The absolute path of relative below the folder, as the bytes root() + relative; for an
    // empty relative the folder itself, without the trailing "/".
    std::string path(std::string_view relative = {}) const;

    // Creates the file relative holding bytes, with exactly the permission bits mode (the
    // umask does not apply), and the folders on its way that are missing (mode 0755). An
    // existing file is truncated first. Returns the file's path.
    std::string file(std::string_view relative, std::string_view bytes = {},
                     mode_t mode = 0644) const;

    // Creates the folder relative with exactly the permission bits mode, and the folders on its
    // way that are missing (mode 0755); an existing folder just gets the mode. Returns its path,
    // without a trailing "/".
    std::string folder(std::string_view relative, mode_t mode = 0755) const;

    // Creates relative as a symbolic link holding target (taken as it is: relative to the
    // link's folder unless it begins with "/"). Returns the link's path.
    std::string link(std::string_view target, std::string_view relative) const;

    // Creates relative as a FIFO with exactly the permission bits mode. Returns its path.
    std::string fifo(std::string_view relative, mode_t mode = 0644) const;

    // Creates relative as the file of a Unix stream socket: bound there, then closed, so that
    // the entry stays and nothing listens on it. Returns its path; throws when the path is too
    // long for a socket address.
    std::string socket(std::string_view relative) const;

    // Sets the access and modification times of relative; a link gets its own times, not its
    // target's.
    void setTimes(std::string_view relative, timespec accessed, timespec modified) const;

    // Removes everything in the folder; the folder itself stays, registered as it was.
    void clear() const;

    // Removes the entry at the absolute path (a trailing "/" is allowed) with everything below
    // it, as the destructor removes the folder: a link is removed itself, never followed.
    // Returns true when nothing is left at path (also when nothing was there); false when
    // something stayed, which is then named on standard error.
    static bool removeTree(const std::string& path);

private:
    std::string m_root;
    bool m_registered;
};

// Whether the entry at path exists as itself (a link counts, whatever it points to).
bool entryExists(const std::string& path);

// The permission bits (07777) of the entry at path, or -1 when it cannot be read.
int permissionsOf(const std::string& path);

// The bytes of the file at path; empty when it cannot be read.
std::string fileText(const std::string& path);

} // namespace velmaro::test
