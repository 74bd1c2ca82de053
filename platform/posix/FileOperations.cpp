// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileOperations.h"

#include "platform/posix/EntryStatus.h"
#include "platform/posix/ParentFolder.h"

#include <cerrno>

namespace velmaro::platform {

FileAttributeValue::FileAttributeValue(std::uint32_t attributes, std::uint32_t mode,
                                       const FileIdentity& identity) noexcept
    : m_attributes(attributes), m_hasMode(true), m_mode(mode & 07777), m_identity(identity) {}

FileAttributeValue FileAttributeValue::readFailure(int error) noexcept {
    FileAttributeValue value;
    value.m_error = error;
    return value;
}

bool FileAttributeValue::isMissing() const {
    return !isValid() && IsMissingError(m_error);
}

bool IsMissingError(int error) {
    return error == ENOENT || error == ENOTDIR;
}

FileAttributeValue GetFileAttributes(std::string_view path) {
    ParentFolder parent;
    if (const int error = parent.open(path))
        return FileAttributeValue::readFailure(error);
    EntryStatus status;
    if (const int error = statEntry(parent.fd(), parent.name().c_str(), status))
        return FileAttributeValue::readFailure(error);
    const std::uint32_t attributes = attributesOf(parent.fd(), parent.name().c_str(), status);
    return FileAttributeValue(attributes, status.mode, status.identity());
}

} // namespace velmaro::platform
