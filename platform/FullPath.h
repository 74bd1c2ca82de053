// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro::platform {

// GetFullPathName for Linux paths: Path made absolute and tidied by its text alone, without
// asking the file system (links are not resolved, the path need not exist):
//   - a relative path (the empty one included) is taken against the process's current folder;
//   - repeated "/" collapse to one, "." components are dropped, ".." removes the component
//     before it (never climbing above "/");
//   - a trailing "/" stays when Path ends in one.
// The bytes of every component are kept as given. When the current folder cannot be read
// (it was removed), a relative Path is returned unchanged, the empty one as "." (never as
// something that could name "/").
std::string FullPathName(std::string_view Path);

} // namespace velmaro::platform
