// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmaro::platform {

// Decodes the bytes of one UTF-8 character into one UTF-16 code unit (what
// MultiByteToWideChar(CP_UTF8, 0) with room for one unit yields). Returns true with the unit
// when the bytes are exactly one well-formed character of the Basic Multilingual Plane. Returns
// false, leaving Unit alone, for no bytes, a character outside the Basic Multilingual Plane
// (two units), several characters, or an ill-formed sequence (overlong forms and surrogates
// included; Windows would give U+FFFD for those, itself neither letter nor digit).
bool Utf8CharToUtf16(const unsigned char* Bytes, std::size_t Count, char16_t& Unit);

// UTF-16 to UTF-8 (WideCharToMultiByte(CP_UTF8, 0)): a surrogate pair becomes one four-byte
// character, an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view Text);

} // namespace velmaro::platform
