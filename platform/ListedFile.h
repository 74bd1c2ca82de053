// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"
#include "platform/FileOperations.h"
#include "platform/posix/ParentFolder.h"
#include "platform/posix/UniqueFd.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmaro::platform {

// One file of the result list, found again at its path so that it can be deleted: only the
// file the search listed, only on the mount it was listed on, and not while another program
// holds it open.
//
// Finding it opens the folders of the path without following a link and without entering a
// mount that is not the listed file's (see ParentFolder), then pins the entry with an O_PATH
// descriptor and compares the identity read on that descriptor with the listed one (device,
// inode, size, last write, birth time where both know one). Everything that follows acts on
// the pinned entry, never on whatever the name holds later; a file that is not the listed one
// is never touched, not even its mode.
//
// A regular file is then leased: reopened through its descriptor (never by name, so a FIFO or
// device put in its place is never opened) and given a write lease (F_SETLEASE, F_WRLCK). The
// kernel refuses the lease while any other process has the file open, so such a file is found
// in use and left alone, as the original platform refuses to delete an open file. While the
// lease is held, an open by anyone else waits until it is released, which DeleteFile does
// right after the name is gone. The lease's break is signalled with SIGURG, which is ignored
// unless a program asks for it; the default SIGIO would end the process. Where no lease can be
// had (a file system without leases, a file of another user without CAP_LEASE, a file its
// owner may neither read nor write) the file is deleted without one.
//
// Removing a name is the one step the kernel offers only by name (there is no unlink of a
// descriptor), so a name swapped between the identity check and unlinkat would take the other
// file with it. DeleteFile therefore first renames the entry, within its folder and without
// replacing anything (RENAME_NOREPLACE), to a private name no other program uses, checks that
// what moved is the pinned file, and only then unlinks the private name; a file that is not
// the pinned one is renamed back. Where the file system cannot rename without replacing, the
// name is checked again and unlinked at once, which leaves a window of a few microseconds.
//
// Not thread-safe; an object belongs to the thread that made it (any thread may make one).
class ListedFile {
public:
    enum class Found {
        listed,      // the path holds the listed file, pinned (and leased where possible)
        missing,     // the path names nothing on the listed file's mount
        other,       // the path holds another file (replaced, rewritten, a folder in its place)
        inUse,       // the path holds the listed file, open in another process
        unreachable, // the path cannot be followed on the listed file's mount (a link or a new
                     // mount in it, a folder without access, ...)
    };

    // What the file is found for: to change it (delete it, move it, set its attributes), or
    // only to look at it. Looking takes no lease, so a file open elsewhere is not told apart.
    enum class Intent { change, inspect };

    // Finds the file at path (absolute, raw bytes) that the search listed with the identity
    // listed. An identity whose device is 0 (nothing recorded) matches no file, and then the
    // path is followed across mounts.
    ListedFile(std::string_view path, const FileIdentity& listed, Intent intent = Intent::change);

    ~ListedFile();
    ListedFile(const ListedFile&) = delete;
    ListedFile& operator=(const ListedFile&) = delete;

    Found found() const { return m_found; }

    // The attributes, mode and identity of the listed file as it was found. Invalid, with the
    // error of the search for it, when it was not found as listed (EEXIST for another file,
    // EBUSY for a file in use).
    FileAttributeValue GetFileAttributes() const;

    // Sets the attributes of the listed file, also after DeleteFile. Only READONLY has an effect
    // on Linux: setting it removes every write bit; clearing it on a file without write bits
    // adds the owner's write bit only. A value read by GetFileAttributes instead restores its
    // exact permission bits, and only on the file it was read from. Returns false when nothing
    // could be set: the file was not found as listed, the value is invalid or comes from
    // another file, the file is a link that would need a mode change, or the fixture guard
    // refuses the path. True when the file now has the requested state (also when nothing
    // needed to change).
    bool SetFileAttributes(const FileAttributeValue& value);

    // Removes the listed file's name (never a folder; a link is removed as the link), then
    // releases the lease. A file that keeps other names (hard links) gets back the mode it had
    // when it was found, so the names that stay show no change. Returns true when the name was
    // removed; false otherwise, also when the file was not found as listed or the fixture guard
    // refuses the path.
    bool DeleteFile();

    // Moves the listed file (never a folder) into the open folder `folder` under name, without
    // replacing anything there: renamed from its own opened folder, so no link in its path is
    // followed, and checked afterwards to be the pinned file (another file that took its name
    // at the last moment is moved back, and the answer is ESTALE). The lease, if any, is
    // released once the file has moved. Returns 0 when it moved; EEXIST when name is taken in
    // folder (the caller may pick another); EXDEV when folder lies on another mount; EPERM for
    // a file not found as listed, a folder, or a path the fixture guard refuses; otherwise
    // what the system said.
    int MoveTo(int folder, const std::string& name);

    // Whether DeleteFile would be allowed to remove the listed file's name, judged without
    // changing anything: the file was found as listed and is no folder, the fixture guard
    // allows its path, and its folder grants this process write and search access, also under
    // the rule of a sticky folder. Flags such as immutable are not looked at.
    bool mayRemoveName() const;

    // The identity of the file as it was found (read on the pinned entry, its mount included);
    // empty unless found() is listed.
    const FileIdentity& foundIdentity() const { return m_attributes.identity(); }

    // The existence test after a deletion: whether the listed file still stands at its path.
    // True while the path holds it, and whenever the path cannot be read for a reason other
    // than that it names nothing (a link in it, a new mount, no permission), so that a failure
    // is never taken for a deletion; true also for a file found in use, replaced or unreachable,
    // which was left alone. False when the path names nothing or another entry.
    bool stillPresent() const;

private:
    // Finds and pins the listed file; sets m_error when it is not found as listed.
    Found find();
    bool removeName();
    void releaseLease();

    std::string m_path;
    FileIdentity m_listed;
    Intent m_intent;
    Found m_found = Found::unreachable;
    int m_error = 0;
    bool m_guardAllows = false;
    ParentFolder m_parent;
    UniqueFd m_entry;             // O_PATH, the pinned entry
    UniqueFd m_lease;             // the reopened file holding the write lease, until DeleteFile
    std::uint32_t m_fileType = 0; // the S_IFMT bits of the pinned entry
    FileAttributeValue m_attributes;
};

} // namespace velmaro::platform
