// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmaro::platform {

// UTF-8 text as UTF-16 little-endian bytes (two bytes per code unit, characters outside the
// Basic Multilingual Plane as surrogate pairs). Returns nothing when the text is not valid
// UTF-8 (overlong forms, surrogates and values above U+10FFFF count as invalid).
std::optional<std::string> Utf8ToUtf16Le(std::string_view utf8);

// UTF-16 little-endian bytes as UTF-8 text. Returns nothing for an odd byte count or an
// unpaired surrogate.
std::optional<std::string> Utf16LeToUtf8(std::string_view utf16le);

} // namespace velmaro::platform
