// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TrashInfo.h"

#include <cstddef>

namespace velmaro::platform {

namespace {

constexpr std::string_view InfoSuffix = ".trashinfo";
constexpr std::size_t MaxEntryName = 255;

bool keptAsItIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-_.!~*'()/").find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string PercentEncodedPath(std::string_view path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(path.size());
    for (const char byte : path) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsItIs(c)) {
            encoded.push_back(byte);
        } else {
            encoded.push_back('%');
            encoded.push_back(hex[c >> 4]);
            encoded.push_back(hex[c & 0xF]);
        }
    }
    return encoded;
}

std::string TrashInfoText(std::string_view path, std::string_view deletionDate) {
    return std::string("[Trash Info]\nPath=")
        .append(PercentEncodedPath(path))
        .append("\nDeletionDate=")
        .append(deletionDate)
        .append("\n");
}

std::string TrashEntryName(std::string_view name, unsigned number) {
    // The extension runs from the last "." that does not start the name.
    const std::size_t dot = name.rfind('.');
    std::string_view extension = dot != std::string_view::npos && dot > 0 ? name.substr(dot) : "";
    std::string_view stem = name.substr(0, name.size() - extension.size());
    const std::string numbered = number > 1 ? "." + std::to_string(number) : "";
    const std::size_t room = MaxEntryName - InfoSuffix.size();
    if (extension.size() + numbered.size() >= room) {
        // An extension too long to keep counts as part of the stem.
        stem = name;
        extension = "";
    }
    if (stem.size() + numbered.size() + extension.size() > room)
        stem = stem.substr(0, room - numbered.size() - extension.size());
    return std::string(stem).append(numbered).append(extension);
}

std::string TrashInfoName(std::string_view entry) {
    return std::string(entry).append(InfoSuffix);
}

} // namespace velmaro::platform
