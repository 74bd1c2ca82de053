// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmaro::platform {

// Writes all of bytes to fd, again after an interrupted or short write. Returns false with
// errno set when a write fails (EIO when one writes nothing).
bool WriteAll(int fd, std::string_view bytes);

} // namespace velmaro::platform
