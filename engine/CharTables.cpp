// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CharTables.h"

#include "platform/CodePage.h"

namespace velmaro {

std::uint8_t IdentityCharTable[256];
std::uint8_t LowerCaseCharTable[256];
std::uint8_t DelimiterCharTable[256];
char16_t IdentityWideCharTable[65536];
char16_t LowerCaseWideCharTable[65536];
std::uint8_t DelimiterWideCharTable[65536];

void BuildCharTables() {
    const platform::CodePage& codePage = platform::CodePage::system();
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        IdentityCharTable[c] = byte;
        LowerCaseCharTable[c] = c == 0 ? 0 : codePage.toLower(byte);
        DelimiterCharTable[c] = codePage.isAlphaNumeric(byte) ? 0 : 1;
    }
    for (int c = 0; c < 65536; ++c) {
        const auto unit = static_cast<char16_t>(c);
        IdentityWideCharTable[c] = unit;
        LowerCaseWideCharTable[c] = c == 0 ? 0 : platform::CodePage::toLowerWide(unit);
        DelimiterWideCharTable[c] = platform::CodePage::isAlphaNumericWide(unit) ? 0 : 1;
    }
}

} // namespace velmaro
