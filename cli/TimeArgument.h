// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DateTime.h"

#include <optional>
#include <string_view>

namespace velmaro {

// Reads a time bound as velmaro-find takes it: a TDateTime number ("39522", "0.5"),
// "YYYY-MM-DD" (a date-only bound: whole days since 30 December 1899), "HH:MM[:SS[.mmm]]" (a
// time-only bound: the fraction of a day) or "YYYY-MM-DDTHH:MM[:SS[.mmm]]" (a full moment).
// Returns nothing when Text is none of these or names no real date or time.
std::optional<TDateTime> ParseTimeArgument(std::string_view Text);

} // namespace velmaro
