// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VersionBlock.h"

#include "platform/Utf16.h"

#include <cstdio>

namespace velmaro::platform {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kFlagsMask = 0x3F;
constexpr std::uint32_t kOsWindows32 = 0x4;
constexpr std::uint32_t kTypeApplication = 0x1;

void appendWord(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void appendDword(std::string& out, std::uint32_t value) {
    appendWord(out, value & 0xFFFF);
    appendWord(out, value >> 16);
}

void pad4(std::string& out) {
    while (out.size() % 4 != 0)
        out.push_back('\0');
}

std::uint32_t high(const std::array<std::uint16_t, 4>& v) {
    return static_cast<std::uint32_t>(v[0]) << 16 | v[1];
}

std::uint32_t low(const std::array<std::uint16_t, 4>& v) {
    return static_cast<std::uint32_t>(v[2]) << 16 | v[3];
}

// Writes the block at the end of out, which is 4-byte aligned.
bool serialize(const VersionBlock& block, std::string& out) {
    const std::size_t begin = out.size();
    const auto key = Utf8ToUtf16Le(block.Key);
    if (!key)
        return false;
    appendWord(out, 0);
    appendWord(out, block.ValueLength);
    appendWord(out, block.Type);
    out += *key;
    appendWord(out, 0);
    pad4(out);
    out += block.Value;
    for (const VersionBlock& child : block.Children) {
        pad4(out);
        if (!serialize(child, out))
            return false;
    }
    const std::size_t length = out.size() - begin;
    if (length > 0xFFFF)
        return false;
    out[begin] = static_cast<char>(length & 0xFF);
    out[begin + 1] = static_cast<char>(length >> 8);
    return true;
}

} // namespace

std::optional<VersionBlock> VersionTextBlock(std::string key, std::string_view text) {
    auto value = Utf8ToUtf16Le(text);
    if (!value || value->size() / 2 + 1 > 0xFFFF)
        return std::nullopt;
    const auto characters = static_cast<std::uint16_t>(value->size() / 2 + 1);
    value->append(2, '\0');
    return VersionBlock{std::move(key), 1, std::move(*value), characters, {}};
}

std::optional<VersionBlock> DescribeVersionResource(const VersionDescription& description) {
    char tableKey[9];
    std::snprintf(tableKey, sizeof tableKey, "%04X%04X", description.Language,
                  description.CodePage);
    VersionBlock table{tableKey, 1, {}, 0, {}};
    for (const auto& [name, text] : description.Strings) {
        auto entry = VersionTextBlock(name, text);
        if (!entry)
            return std::nullopt;
        table.Children.push_back(std::move(*entry));
    }

    std::string translation;
    appendWord(translation, description.Language);
    appendWord(translation, description.CodePage);
    VersionBlock var{"VarFileInfo", 1, {}, 0, {{"Translation", 0, translation, 4, {}}}};

    std::string fixed;
    for (const std::uint32_t field :
         {kFixedSignature, kFixedStructVersion, high(description.FileVersion),
          low(description.FileVersion), high(description.ProductVersion),
          low(description.ProductVersion), kFlagsMask, 0u, kOsWindows32, kTypeApplication, 0u, 0u,
          0u})
        appendDword(fixed, field);
    const auto fixedLength = static_cast<std::uint16_t>(fixed.size());
    return VersionBlock{"VS_VERSION_INFO",
                        0,
                        std::move(fixed),
                        fixedLength,
                        {{"StringFileInfo", 1, {}, 0, {std::move(table)}}, std::move(var)}};
}

std::optional<std::string> SerializeVersionBlock(const VersionBlock& block) {
    std::string out;
    if (!serialize(block, out))
        return std::nullopt;
    return out;
}

} // namespace velmaro::platform
