// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/MountInfo.h"

#include <algorithm>
#include <fstream>

namespace velmaro::platform {

namespace {

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return fields;
}

// Whether a comma-separated option list holds the option "ro".
bool hasReadOnlyOption(std::string_view options) {
    std::size_t start = 0;
    while (start <= options.size()) {
        const std::size_t end = std::min(options.find(',', start), options.size());
        if (options.substr(start, end - start) == "ro") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

std::string decodeMountInfoField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        // Three octal digits up to \377 make one byte.
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            text.push_back(static_cast<char>(((field[i + 1] - '0') << 6) |
                                             ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

std::optional<MountInfoEntry> parseMountInfoLine(std::string_view line) {
    // id parent major:minor root mount-point options [optional fields...] - type source super
    const std::vector<std::string_view> fields = splitFields(line);
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") {
        ++separator;
    }
    if (separator + 3 >= fields.size()) {
        return std::nullopt;
    }
    MountInfoEntry entry;
    entry.device = fields[2];
    entry.root = decodeMountInfoField(fields[3]);
    entry.mountPoint = decodeMountInfoField(fields[4]);
    entry.fsType = decodeMountInfoField(fields[separator + 1]);
    entry.source = decodeMountInfoField(fields[separator + 2]);
    entry.readOnly = hasReadOnlyOption(fields[5]) || hasReadOnlyOption(fields[separator + 3]);
    return entry;
}

std::vector<MountInfoEntry> readMountInfo(const std::string& path) {
    std::vector<MountInfoEntry> entries;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (std::optional<MountInfoEntry> entry = parseMountInfoLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

} // namespace velmaro::platform
