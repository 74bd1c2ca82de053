// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FullPath.h"

#include <cerrno>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// The process's current folder, or an empty string when it cannot be read.
std::string currentFolder() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string FullPathName(std::string_view Path) {
    std::string joined;
    if (Path.empty() || Path.front() != '/') {
        joined = currentFolder();
        if (joined.empty() || joined.front() != '/')
            return Path.empty() ? std::string(".") : std::string(Path);
        joined += '/';
    }
    joined.append(Path);

    std::string result = "/";
    std::size_t at = 0;
    while (at < joined.size()) {
        std::size_t end = joined.find('/', at);
        if (end == std::string::npos)
            end = joined.size();
        const std::string_view component(joined.data() + at, end - at);
        at = end + 1;
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            if (result.size() > 1) {
                result.pop_back();
                result.erase(result.rfind('/') + 1);
            }
            continue;
        }
        result.append(component);
        result += '/';
    }
    const bool keepSlash = !Path.empty() && Path.back() == '/';
    if (!keepSlash && result.size() > 1)
        result.pop_back();
    return result;
}

} // namespace velmaro::platform
