// SPDX-License-Identifier: GPL-3.0-or-later
// Registry export text: whatever the reader accepts, the writer writes, and the reader reads
// that back as the same tree.

#include "FuzzCheck.h"
#include "platform/RegistryFormat.h"

#include <cstdint>
#include <string_view>

using namespace velmaro::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto tree =
        ParseRegistryText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!tree)
        return 0;
    const auto text = FormatRegistryText(*tree);
    FUZZ_CHECK(text, "the writer refuses a tree the reader accepted");
    const auto back = ParseRegistryText(*text);
    FUZZ_CHECK(back, "the reader refuses what the writer wrote");
    FUZZ_CHECK(*back == *tree, "what the writer wrote reads back as another tree");
    FUZZ_CHECK(FormatRegistryText(*back) == text, "writing the same tree twice differs");
    return 0;
}
