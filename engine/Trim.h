// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmaro {

// Text without its leading and trailing characters with codes up to 32 (space and control
// characters). Bytes from 0x80 up are kept. The result views Text's own bytes.
std::string_view Trim(std::string_view Text);

} // namespace velmaro
