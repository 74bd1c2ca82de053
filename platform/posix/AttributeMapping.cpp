// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AttributeMapping.h"

#include "platform/FileAttributes.h"

#include <sys/stat.h>

namespace velmaro::platform {

std::uint32_t AttributesFromMode(std::uint32_t mode, std::string_view name, bool linkToFolder,
                                 bool mountRoot) {
    std::uint32_t attributes = 0;
    const mode_t type = static_cast<mode_t>(mode) & S_IFMT;
    if (type == S_IFDIR) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
        if (mountRoot)
            attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    } else if (type == S_IFLNK) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT |
                      (linkToFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE);
    } else {
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
        if (type == S_IFCHR || type == S_IFBLK || type == S_IFIFO || type == S_IFSOCK)
            attributes |= FILE_ATTRIBUTE_DEVICE;
    }
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (!name.empty() && name.front() == '.' && name != "." && name != "..")
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

} // namespace velmaro::platform
