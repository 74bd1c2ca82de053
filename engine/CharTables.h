// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace velmaro {

// Case folding and letter-or-digit tests by table lookup, so that name matching and the
// content search make no per-character platform calls. Filled by BuildCharTables before any
// search runs, read-only (and read without locks by every thread) afterwards.
extern std::uint8_t IdentityCharTable[256];
extern std::uint8_t LowerCaseCharTable[256]; // lower-case form in the system's 8-bit code page
extern std::uint8_t DelimiterCharTable[256]; // 1 when neither letter nor digit, else 0
extern char16_t IdentityWideCharTable[65536];
extern char16_t LowerCaseWideCharTable[65536];
extern std::uint8_t DelimiterWideCharTable[65536];

// Fills the six tables from the code page in force (platform::CodePage::system()). Runs once
// at program start; tests that switch the code page run it again while no search runs.
void BuildCharTables();

} // namespace velmaro
