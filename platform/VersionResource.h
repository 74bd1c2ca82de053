// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro::platform {

// The ELF section in which every executable of this project carries its version resource,
// laid out as the Windows VS_VERSIONINFO block.
inline constexpr std::string_view VERSION_RESOURCE_SECTION = ".velmaro_version";

// GetFileVersionInfo: the version resource of the program file at path (for the running
// program, "/proc/self/exe"). Returns nothing when the file has none or cannot be read.
std::optional<std::string> GetFileVersionInfo(const std::string& path);

// One value found by VerQueryValue. Data views the resource passed in. Length is what
// VerQueryValue reports: for text values (type 1) the number of 16-bit characters with the
// terminating NUL, for binary values the number of bytes.
struct VersionValue {
    std::string_view Data;
    std::uint16_t Type = 0;
    std::size_t Length = 0;
};

// VerQueryValue on a VS_VERSIONINFO block: SubBlock is a path of block keys separated by
// "\" such as "\VarFileInfo\Translation" or "\StringFileInfo\041904E3\ProductVersion",
// keys compared without regard to ASCII letter case; "\" names the fixed part. Returns
// nothing when a block on the path is missing or malformed. Whatever its lengths claim, no
// block is read outside the resource or outside its parent: a value cut short is reported
// with the bytes that exist.
std::optional<VersionValue> VerQueryValue(std::string_view resource, std::string_view SubBlock);

// A text value's characters up to its terminating NUL, as UTF-8 (nothing if it is not
// valid UTF-16).
std::optional<std::string> VersionText(const VersionValue& value);

} // namespace velmaro::platform
