// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro {

// A byte count as the short size text shown in the result list, the status line and the
// report: "0 b", "1000 b", "0.98 Kb", "117.74 Mb", "5120 Gb". A step to the next unit happens
// above 1000 (not 1024) and divides by 1024; there is no unit above "Gb". The number has at
// most two decimals, no trailing zeros and no group separators; DecimalSeparator (the
// locale's, in whatever encoding the caller wants the text in) stands between its whole part
// and its decimals. Everything else is ASCII. Any thread may call it.
std::string SizeToText(double Value, std::string_view DecimalSeparator);

// Value rounded to a multiple of 1 / Factor, halves away from zero. Only the fraction is
// scaled, so the integer part never loses precision; the rounding works on the stored binary
// value (2.005 gives 2, 2.345 gives 2.35).
double RoundToFactor(int Factor, double Value);

} // namespace velmaro
