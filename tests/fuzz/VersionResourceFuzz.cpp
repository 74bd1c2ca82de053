// SPDX-License-Identifier: GPL-3.0-or-later
// VS_VERSIONINFO blocks from the input: the lookups never read outside the resource, whatever
// its lengths claim.

#include "FuzzCheck.h"
#include "platform/VersionResource.h"

#include <cstdint>
#include <string_view>

using namespace velmaro::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view resource(reinterpret_cast<const char*>(data), size);
    static constexpr std::string_view kPaths[] = {
        "\\",
        "\\VarFileInfo\\Translation",
        "\\StringFileInfo\\041904E3\\ProductVersion",
        "\\StringFileInfo\\041904e3\\FileVersion",
        "\\StringFileInfo\\041904E3",
        "\\StringFileInfo",
        "\\StringFileInfo\\\\",
        "",
    };
    for (const std::string_view path : kPaths) {
        const auto value = VerQueryValue(resource, path);
        if (!value)
            continue;
        FUZZ_CHECK(value->Data.empty() || (value->Data.data() >= resource.data() &&
                                           value->Data.data() + value->Data.size() <=
                                               resource.data() + resource.size()),
                   "a value lies outside the resource");
        if (value->Type == 1)
            VersionText(*value);
    }
    return 0;
}
