// SPDX-License-Identifier: GPL-3.0-or-later
// Mount table lines from the input: every line is parsed or refused, and a decoded field is
// never longer than the field.

#include "FuzzCheck.h"
#include "platform/posix/MountInfo.h"

#include <cstdint>
#include <string_view>

using namespace velmaro::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        FUZZ_CHECK(decodeMountInfoField(line).size() <= line.size(),
                   "a decoded field grew longer than its text");
        if (const auto entry = parseMountInfoLine(line))
            FUZZ_CHECK(!entry->mountPoint.empty(), "a row without a mount point");
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return 0;
}
