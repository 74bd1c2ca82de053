// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro::platform {

// The folder part of path by its text: everything before the last "/", "/" for a file in the
// root, "." when path holds no "/".
inline std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    return std::string(slash == 0 ? std::string_view("/") : path.substr(0, slash));
}

// The last component of path by its text: everything after the last "/".
inline std::string_view NameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace velmaro::platform
