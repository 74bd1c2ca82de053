// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"

#include <cstdint>

namespace velmaro::platform {

// A file time: UTC, in 100-nanosecond steps since 1 January 1601 (the Windows FILETIME).
using FileTime = std::uint64_t;

// Longest name the directory-entry record holds, its terminating NUL included.
inline constexpr int MAX_PATH = 260;

// The directory-entry record of the enumeration (the Windows WIN32_FIND_DATA): what the
// search reads of one entry. The entry is described as itself; a link is never followed.
struct FindData {
    std::uint32_t dwFileAttributes = 0;
    FileTime ftCreationTime = 0;
    FileTime ftLastAccessTime = 0;
    FileTime ftLastWriteTime = 0;
    std::uint32_t nFileSizeHigh = 0;
    std::uint32_t nFileSizeLow = 0;
    char cFileName[MAX_PATH] = {};
    // Not part of the Windows record: the identity of the entry as it was described.
    FileIdentity Identity;
};

} // namespace velmaro::platform
