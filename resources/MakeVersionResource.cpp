// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: turns the version description (version.ini) into the binary VS_VERSIONINFO
// resource that every program file carries in its own ELF section.
//
//   velmaro_make_version_resource <version.ini> <output file>

#include "platform/VersionBlock.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

using namespace velmaro::platform;

namespace {

std::optional<std::uint16_t> number(std::string_view text, int base) {
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// "2.25.0.0" as four numbers.
std::optional<std::array<std::uint16_t, 4>> version(std::string_view text) {
    std::array<std::uint16_t, 4> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.');
        if ((dot == std::string_view::npos) != (i + 1 == parts.size()))
            return std::nullopt;
        const auto part = number(text.substr(0, dot), 10);
        if (!part)
            return std::nullopt;
        parts[i] = *part;
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return parts;
}

std::optional<VersionDescription> readDescription(std::istream& in) {
    VersionDescription description;
    std::string section;
    std::string line;
    bool ok = true;
    bool fixed[4] = {};
    const auto take = [&](bool& seen, auto parsed, auto& target) {
        seen = parsed.has_value();
        if (parsed)
            target = *parsed;
        ok = ok && seen;
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (section == "Fixed" && key == "FileVersion")
            take(fixed[0], version(value), description.FileVersion);
        else if (section == "Fixed" && key == "ProductVersion")
            take(fixed[1], version(value), description.ProductVersion);
        else if (section == "Translation" && key == "Language")
            take(fixed[2], number(value, 16), description.Language);
        else if (section == "Translation" && key == "CodePage")
            take(fixed[3], number(value, 16), description.CodePage);
        else if (section == "Strings")
            description.Strings.emplace_back(key, value);
        else
            return std::nullopt;
    }
    if (!ok || !fixed[0] || !fixed[1] || !fixed[2] || !fixed[3])
        return std::nullopt;
    return description;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <version.ini> <output file>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    const auto description = in ? readDescription(in) : std::nullopt;
    const auto block = description ? DescribeVersionResource(*description) : std::nullopt;
    const auto bytes = block ? SerializeVersionBlock(*block) : std::nullopt;
    if (!bytes) {
        std::cerr << argv[1] << ": not a valid version description\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
