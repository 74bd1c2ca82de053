// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"

#include <cstdint>
#include <string_view>

namespace velmaro::platform {

// The value GetFileAttributes gives for a file it cannot read.
inline constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// An attribute word as the file operations read and set it. A value read from a file also
// carries the file's permission bits and identity beside the word, so that handing it back to
// SetFileAttributes restores exactly the mode the file had, on that file only; a bare word
// (such as 0x38) carries only the attribute bits. A failed read carries the system's error
// code instead.
class FileAttributeValue {
public:
    // A bare attribute word. Implicit, so that SetFileAttributes(0x38) reads like the call it
    // stands for.
    constexpr FileAttributeValue(std::uint32_t attributes = INVALID_FILE_ATTRIBUTES) noexcept
        : m_attributes(attributes) {}

    // The value read from a file: its attribute word, permission bits (07777) and identity.
    FileAttributeValue(std::uint32_t attributes, std::uint32_t mode,
                       const FileIdentity& identity) noexcept;

    // A failed read with the system's error code (errno). ELOOP stands for a symbolic link
    // found where the path needs a folder, EXDEV for a path that leaves the listed file's mount.
    static FileAttributeValue readFailure(int error) noexcept;

    std::uint32_t attributes() const { return m_attributes; }
    bool isValid() const { return m_attributes != INVALID_FILE_ATTRIBUTES; }

    // For a failed read: whether the system said that the path names nothing (ENOENT, or
    // ENOTDIR where a folder of the path is now something other than a folder or a link).
    // Any other failure (permission, a link in the path, ...) says nothing about the file.
    bool isMissing() const;
    int error() const { return m_error; }

    bool hasMode() const { return m_hasMode; }
    std::uint32_t mode() const { return m_mode; }
    // The file the value was read from; empty for a bare word or a failed read.
    const FileIdentity& identity() const { return m_identity; }

private:
    std::uint32_t m_attributes;
    int m_error = 0;
    bool m_hasMode = false;
    std::uint32_t m_mode = 0;
    FileIdentity m_identity;
};

// Reads the attributes of the entry at path (the mapping of AttributesFromMode), with its mode
// and identity, as itself: no symbolic link is followed in any folder of the path (a folder
// that is a link fails with ELOOP), and a link as the last component is read as the link. A
// relative path, one with a "." or ".." component, or "/" itself fails with EINVAL. On failure
// the value is invalid and carries the error. Any thread may call it.
FileAttributeValue GetFileAttributes(std::string_view path);

// Whether an error of reading a path says that it names nothing: ENOENT, or ENOTDIR where a
// folder of the path is now something other than a folder.
bool IsMissingError(int error);

} // namespace velmaro::platform
