// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro {

// Appends bytes to json as a JSON value: a string (RFC 8259: quotation mark, reverse solidus
// and the control characters escaped) when the bytes are valid UTF-8, else an array of the
// byte values (0 to 255), so that a path the system gave in another encoding still reaches a
// script byte for byte.
void AppendJsonBytes(std::string& json, std::string_view bytes);

// Appends text, which must be valid UTF-8 (such as ASCII), to json as a JSON string.
void AppendJsonString(std::string& json, std::string_view text);

} // namespace velmaro
