// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ProductVersion.h"

#include "platform/VersionResource.h"

#include <cstdio>

namespace velmaro {

using platform::VerQueryValue;

std::string GetProductVersion() {
    return ProductVersionOf("/proc/self/exe");
}

std::string ProductVersionOf(const std::string& programFile) {
    const auto resource = platform::GetFileVersionInfo(programFile);
    return resource ? ProductVersionIn(*resource) : std::string();
}

std::string ProductVersionIn(std::string_view resource) {
    std::string key;
    if (const auto translation = VerQueryValue(resource, "\\VarFileInfo\\Translation");
        translation && translation->Length >= 4) {
        const auto word = [&](std::size_t i) {
            return static_cast<unsigned>(static_cast<unsigned char>(translation->Data[i]) |
                                         static_cast<unsigned char>(translation->Data[i + 1]) << 8);
        };
        char hex[9];
        std::snprintf(hex, sizeof hex, "%04X%04X", word(0), word(2));
        key = hex;
    }
    const auto value = VerQueryValue(resource, "\\StringFileInfo\\" + key + "\\ProductVersion");
    if (!value || value->Length <= 1)
        return {};
    return platform::VersionText(*value).value_or(std::string());
}

} // namespace velmaro
