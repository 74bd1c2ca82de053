// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WildcardMatch.h"

#include "engine/CharTables.h"

namespace velmaro {

// Backtracking to the most recent star alone is enough: a later star can take over whatever an
// earlier one would have taken, so when the text after the most recent star cannot be placed,
// only letting that star take one character more can help.
bool WildcardMatch(const char* Name, const char* Pattern) {
    const auto* s = reinterpret_cast<const unsigned char*>(Name);
    const auto* p = reinterpret_cast<const unsigned char*>(Pattern);
    const unsigned char* starPattern = nullptr;
    const unsigned char* starName = nullptr;

    for (;;) {
        if (*p == '*') {
            while (*p == '*' || *p == '?')
                ++p;
            if (*p == '\0')
                return true;
            starPattern = p;
            starName = s;
            continue;
        }
        if (*s == '\0') {
            while (*p == '*' || *p == '?')
                ++p;
            return *p == '\0';
        }
        if (*p != '\0' && (*p == '?' || LowerCaseCharTable[*p] == LowerCaseCharTable[*s])) {
            ++p;
            ++s;
            continue;
        }
        if (starPattern == nullptr)
            return false;
        p = starPattern;
        s = ++starName;
    }
}

} // namespace velmaro
