// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Drives.h"

#include <string_view>

namespace velmaro {

// The start of a location row's title, as UTF-8: "Локальный диск " for a fixed drive,
// "Съёмный диск " for a removable one. The window appends the mount point converted for display
// through the code page service; the row's root keeps the mount point's raw bytes.
std::string_view driveTitlePrefix(platform::DriveKind kind);

} // namespace velmaro
