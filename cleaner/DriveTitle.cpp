// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/DriveTitle.h"

namespace velmaro {

std::string_view driveTitlePrefix(platform::DriveKind kind) {
    return kind == platform::DriveKind::Removable ? "Съёмный диск " : "Локальный диск ";
}

} // namespace velmaro
