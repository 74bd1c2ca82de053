// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro::platform {

// The contents of the named section of a 64-bit little-endian ELF file (an executable or a
// shared object), read from the file itself. Returns nothing when the file cannot be read, is
// no such ELF file, has no section of that name, the section holds no file bytes or more
// than maxSize of them, or any header points outside the file: the headers are checked
// before they are followed, so a damaged or crafted file is never read past its end.
std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name,
                                          std::size_t maxSize);

} // namespace velmaro::platform
