// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// Whether the NUL-terminated 8-bit Name matches Pattern, letter case ignored through
// LowerCaseCharTable (BuildCharTables must have run).
//   "*" matches any run of characters, none included, "/" included;
//   "?" matches one character, or nothing once the name is used up; a "?" that follows a "*"
//       (with only "*" and "?" between them) is absorbed by the star and demands nothing;
//   every other character matches a name character with the same lower-case form.
// The star takes the shortest run first. Works in place: no allocation, no call per
// character, no recursion; time grows with name length x pattern length at worst.
bool WildcardMatch(const char* Name, const char* Pattern);

} // namespace velmaro
