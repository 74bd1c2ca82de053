// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SplitDelimited.h"

#include "engine/CharTables.h"
#include "engine/Trim.h"

#include <algorithm>

namespace velmaro {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerCaseCharTable[static_cast<unsigned char>(x)] ==
               LowerCaseCharTable[static_cast<unsigned char>(y)];
    });
}

bool contains(const TStringList& list, std::string_view piece, TDuplicateTest duplicates) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
        return duplicates == TDuplicateTest::dtExact ? entry == piece
                                                     : equalIgnoringCase(entry, piece);
    });
}

} // namespace

TStringList SplitDelimited(std::string_view Text, char Delimiter, TDuplicateTest Duplicates) {
    TStringList result;
    while (!Text.empty()) {
        const std::size_t end = std::min(Text.find(Delimiter), Text.size());
        const std::string_view piece = Trim(Text.substr(0, end));
        Text.remove_prefix(std::min(end + 1, Text.size()));
        if (!piece.empty() && !contains(result, piece, Duplicates))
            result.Add(piece);
    }
    return result;
}

} // namespace velmaro
