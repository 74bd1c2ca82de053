// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace velmaro::platform {

// Moves the entry at path (of any kind; a link is moved itself, not what it names) aside in
// its folder as "<path>.bad", or as "<path>.2.bad", "<path>.3.bad", ... when that name is
// taken. An existing entry is never replaced, so every file kept aside earlier stays. Returns
// the new path, or nothing when the entry could not be moved (it then stays where it was).
std::optional<std::string> KeepAside(const std::string& path);

} // namespace velmaro::platform
