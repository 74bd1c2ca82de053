#pragma once

#include <cstdint>
#include <string_view>

namespace velmaro::platform {

// The value GetFileAttributes gives for a file it cannot read.
inline constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// An attribute word as the file operations read and set it. A value read from a file also
// carries the file's permission bits and identity beside the word, so that handing it back to
// SetFileAttributes restores exactly the mode the file had; a bare word (such as 0x38) carries
// only the attribute bits. A failed read carries the system's error code instead.
class FileAttributeValue {
public:
    // A bare attribute word. Implicit, so that SetFileAttributes(path, 0x38) reads like the
    // call it stands for.
    constexpr FileAttributeValue(std::uint32_t attributes = INVALID_FILE_ATTRIBUTES) noexcept
        : m_attributes(attributes) {}

    // The value read from a file: its attribute word, permission bits (07777) and identity.
    FileAttributeValue(std::uint32_t attributes, std::uint32_t mode, std::uint64_t device,
                       std::uint64_t inode) noexcept;

    // A failed read with the system's error code (errno). ELOOP stands for a symbolic link
    // found where the path needs a folder.
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
    std::uint64_t device() const { return m_device; }
    std::uint64_t inode() const { return m_inode; }

private:
    std::uint32_t m_attributes;
    int m_error = 0;
    bool m_hasMode = false;
    std::uint32_t m_mode = 0;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
};

// All three operations take an absolute path of raw bytes and never follow a symbolic link in
// any folder of it: the folders are opened one by one from "/", and a folder that is a link
// makes the operation fail. The last component is acted on as itself (a link there is read,
// or deleted, as the link). A relative path, one with a "." or ".." component, or "/" itself
// fails.

// Reads the attributes of the entry at path (the mapping of AttributesFromMode), with its mode
// and identity. On failure the value is invalid and carries the error.
FileAttributeValue GetFileAttributes(std::string_view path);

// Sets the attributes of the entry at path. Only READONLY has an effect on Linux: setting it
// removes every write bit; clearing it on an entry without write bits adds the owner's write
// bit only. A value read by GetFileAttributes instead restores its exact permission bits, and
// only on the same file it was read from. Returns false when nothing could be set: the entry
// is unreachable, is another file than the value came from, is a link that would need a mode
// change, the value is invalid, or the fixture guard refuses the path. True when the entry
// now has the requested state (also when nothing needed to change).
bool SetFileAttributes(std::string_view path, const FileAttributeValue& value);

// Removes the entry at path, which must not be a folder (a link is removed as the link).
// True when the name was removed; false otherwise, also when the fixture guard refuses it.
bool DeleteFile(std::string_view path);

} // namespace velmaro::platform
