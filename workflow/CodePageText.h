// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

namespace velmaro {

// Bytes as the window shows them: read through the system's code page, with U+FFFD for what it
// cannot read. Never used to name a file: paths stay the bytes they are. Any thread (the
// code page is chosen once at start).
QString CodePageText(std::string_view Bytes);

} // namespace velmaro
