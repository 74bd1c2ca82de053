// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmaro::platform {

// mkdir -p: makes every missing folder of the path, mode 0700, as a user's data and settings
// folders are made. Returns whether the path is a folder afterwards; errno says why not.
bool MakeFolders(const std::string& folder);

} // namespace velmaro::platform
