// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StringList.h"

#include <string_view>

namespace velmaro {

// How SplitDelimited decides that a piece repeats an earlier one.
enum class TDuplicateTest {
    dtIgnoreCase, // letter case ignored through LowerCaseCharTable (names, masks)
    dtExact,      // byte for byte (folders: Linux file systems tell letter case apart)
};

// The non-empty pieces of Text between Delimiter characters, each trimmed of leading and
// trailing characters with codes up to 32, in order of first occurrence, each piece once.
// With dtIgnoreCase, BuildCharTables must have run. Never fails; the caller owns the result.
TStringList SplitDelimited(std::string_view Text, char Delimiter,
                           TDuplicateTest Duplicates = TDuplicateTest::dtIgnoreCase);

} // namespace velmaro
