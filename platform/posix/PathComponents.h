// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace velmaro::platform {

// The components of an absolute path in order, empty ones (from "//" or a trailing "/")
// skipped. No value for a relative path or for one with a "." or ".." component: such a path
// could name something other than what it spells, so the file operations refuse it.
std::optional<std::vector<std::string_view>> SplitAbsolutePath(std::string_view path);

} // namespace velmaro::platform
