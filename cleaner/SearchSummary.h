// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmaro {

// A search's duration in milliseconds as "n:ss.zzz": minutes of the hour without leading zero,
// TimeSeparator (the locale's, in the encoding the caller wants), seconds as two digits, ".",
// milliseconds as three digits. Whole hours are not shown; a negative duration counts as 0.
// Any thread may call it.
std::string DurationText(std::int64_t Milliseconds, std::string_view TimeSeparator);

// The summary line of a search that took Duration (a DurationText): "Продолжительность
// поиска: " + Duration + ".", as UTF-8 when Duration is. Any thread may call it.
std::string SearchSummaryLine(std::string_view Duration);

} // namespace velmaro
