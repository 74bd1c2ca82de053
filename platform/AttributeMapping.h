// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace velmaro::platform {

// The attribute word of one directory entry, described as itself (a link is never followed):
// DIRECTORY for folders, ARCHIVE for everything else, READONLY when the mode has no write bit,
// HIDDEN for names beginning with "." (except "." and ".."), DEVICE for character and block
// devices, FIFOs and sockets, REPARSE_POINT for symbolic links and for folders on which another
// file system is mounted. A link to a folder carries DIRECTORY instead of ARCHIVE.
//   mode:          the entry's st_mode, as lstat reports it.
//   name:          the entry's name (its last path component).
//   linkToFolder:  for a link, whether it points to a folder; ignored otherwise.
//   mountRoot:     for a folder, whether another file system is mounted on it.
std::uint32_t AttributesFromMode(std::uint32_t mode, std::string_view name, bool linkToFolder,
                                 bool mountRoot);

} // namespace velmaro::platform
