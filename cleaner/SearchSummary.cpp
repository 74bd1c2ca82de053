// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/SearchSummary.h"

#include <algorithm>
#include <cstdio>

namespace velmaro {

std::string DurationText(std::int64_t Milliseconds, std::string_view TimeSeparator) {
    const std::int64_t ms = std::max<std::int64_t>(Milliseconds, 0);
    char seconds[16];
    std::snprintf(seconds, sizeof seconds, "%02d.%03d", static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    return std::to_string(ms / 60000 % 60).append(TimeSeparator).append(seconds);
}

std::string SearchSummaryLine(std::string_view Duration) {
    return std::string("Продолжительность поиска: ").append(Duration).append(".");
}

} // namespace velmaro
