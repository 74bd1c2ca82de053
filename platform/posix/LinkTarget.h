// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmaro::platform {

// The file that a write "through" path should replace, so that a settings file kept as a
// symbolic link (by a dotfile manager, say) stays a link and its target gets the new text:
//   - path itself when it is no symbolic link (or does not exist);
//   - else the end of its chain of links (a relative target taken against the folder of the
//     link that holds it) when that is a regular file, or is missing in an existing folder;
//   - else (a loop, a chain too long, a folder, a FIFO, a device, a missing folder at the end)
//     path itself again: then the link is what gets replaced.
std::string LinkTarget(const std::string& path);

} // namespace velmaro::platform
