// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace velmaro::platform {

// The bits of the file-attribute word, with the values the Windows file API gives them.
// On Linux only DIRECTORY, ARCHIVE, READONLY, HIDDEN, DEVICE and REPARSE_POINT are ever set.
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DEVICE = 0x40;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr std::uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;
inline constexpr std::uint32_t FILE_ATTRIBUTE_SPARSE_FILE = 0x200;
inline constexpr std::uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
inline constexpr std::uint32_t FILE_ATTRIBUTE_COMPRESSED = 0x800;
inline constexpr std::uint32_t FILE_ATTRIBUTE_OFFLINE = 0x1000;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NOT_CONTENT_INDEXED = 0x2000;
inline constexpr std::uint32_t FILE_ATTRIBUTE_ENCRYPTED = 0x4000;
inline constexpr std::uint32_t FILE_ATTRIBUTE_VIRTUAL = 0x10000;

} // namespace velmaro::platform
