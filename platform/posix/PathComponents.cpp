// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PathComponents.h"

namespace velmaro::platform {

std::optional<std::vector<std::string_view>> SplitAbsolutePath(std::string_view path) {
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    std::vector<std::string_view> components;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view component = path.substr(start, end - start);
        if (component == "." || component == "..")
            return std::nullopt;
        if (!component.empty())
            components.push_back(component);
        start = end + 1;
    }
    return components;
}

} // namespace velmaro::platform
