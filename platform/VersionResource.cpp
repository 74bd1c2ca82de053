// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VersionResource.h"

#include "platform/ElfSection.h"
#include "platform/RegistryTree.h"
#include "platform/Utf16.h"

#include <algorithm>
#include <vector>

namespace velmaro::platform {

namespace {

// VS_VERSIONINFO stores its total length in 16 bits.
constexpr std::size_t kMaxResourceSize = 0xFFFF;
constexpr std::uint16_t kTextType = 1;

std::size_t align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

std::uint16_t word(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

// One block: wLength, wValueLength, wType, the NUL-terminated UTF-16 key, the value and the
// child blocks, each aligned to 4 bytes.
struct Block {
    std::size_t end = 0;
    std::string key;
    VersionValue value;
    std::size_t children = 0;
};

// The block at begin, which must lie within [begin, limit).
std::optional<Block> readBlock(std::string_view resource, std::size_t begin, std::size_t limit) {
    if (limit - begin < 6)
        return std::nullopt;
    const std::size_t length = word(resource, begin);
    if (length < 6 || length > limit - begin)
        return std::nullopt;
    Block block;
    block.end = begin + length;
    std::size_t keyEnd = begin + 6;
    while (keyEnd + 2 <= block.end && word(resource, keyEnd) != 0)
        keyEnd += 2;
    if (keyEnd + 2 > block.end)
        return std::nullopt;
    auto key = Utf16LeToUtf8(resource.substr(begin + 6, keyEnd - begin - 6));
    if (!key)
        return std::nullopt;
    block.key = std::move(*key);

    block.value.Type = word(resource, begin + 4);
    const std::size_t declared = word(resource, begin + 2);
    const std::size_t declaredBytes = block.value.Type == kTextType ? 2 * declared : declared;
    const std::size_t valueBegin = std::min(align4(keyEnd + 2), block.end);
    const std::size_t valueBytes = std::min(declaredBytes, block.end - valueBegin);
    block.value.Data = resource.substr(valueBegin, valueBytes);
    block.value.Length = block.value.Type == kTextType ? valueBytes / 2 : valueBytes;
    block.children = std::min(align4(valueBegin + declaredBytes), block.end);
    return block;
}

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        if (slash != 0)
            parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

} // namespace

std::optional<std::string> GetFileVersionInfo(const std::string& path) {
    return ReadElfSection(path, VERSION_RESOURCE_SECTION, kMaxResourceSize);
}

std::optional<VersionValue> VerQueryValue(std::string_view resource, std::string_view SubBlock) {
    auto block = readBlock(resource, 0, resource.size());
    if (!block || block->key != "VS_VERSION_INFO")
        return std::nullopt;
    for (const std::string_view part : splitPath(SubBlock)) {
        std::optional<Block> found;
        for (std::size_t child = block->children; child < block->end && !found;) {
            auto candidate = readBlock(resource, child, block->end);
            if (!candidate)
                return std::nullopt;
            if (RegistryNamesEqual(candidate->key, part))
                found = std::move(candidate);
            else
                child = align4(candidate->end);
        }
        if (!found)
            return std::nullopt;
        block = std::move(found);
    }
    return block->value;
}

std::optional<std::string> VersionText(const VersionValue& value) {
    std::size_t length = 0;
    while (length + 2 <= value.Data.size() && word(value.Data, length) != 0)
        length += 2;
    return Utf16LeToUtf8(value.Data.substr(0, length));
}

} // namespace velmaro::platform
