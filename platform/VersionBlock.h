// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmaro::platform {

// One block of a VS_VERSIONINFO resource, for building one: the build's version resource
// generator makes the program's resource with it, and tests make damaged ones.
struct VersionBlock {
    std::string Key;               // UTF-8; stored as UTF-16
    std::uint16_t Type = 0;        // 1 for text, 0 for binary
    std::string Value;             // the value's bytes as stored (text as UTF-16LE with its NUL)
    std::uint16_t ValueLength = 0; // as stored: characters for text, bytes for binary
    std::vector<VersionBlock> Children;
};

// What the standard resource holds.
struct VersionDescription {
    std::array<std::uint16_t, 4> FileVersion{};
    std::array<std::uint16_t, 4> ProductVersion{};
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
    std::vector<std::pair<std::string, std::string>> Strings; // name, UTF-8 text, in order
};

// The block tree of a standard resource: VS_VERSION_INFO with the fixed part (an
// application, file flags 0), StringFileInfo with one string table keyed by the language and
// code page as 4+4 upper-case hex digits, and VarFileInfo\Translation. Nothing when a text
// is not valid UTF-8 or too long for its block.
std::optional<VersionBlock> DescribeVersionResource(const VersionDescription& description);

// The bytes of the block tree: each block's wLength, wValueLength and wType, its key, value
// and children aligned to 4 bytes. Nothing when a block exceeds the 16-bit length.
std::optional<std::string> SerializeVersionBlock(const VersionBlock& block);

// A text value as a block stores it (UTF-16LE and the NUL), or nothing for invalid UTF-8.
std::optional<VersionBlock> VersionTextBlock(std::string key, std::string_view text);

} // namespace velmaro::platform
