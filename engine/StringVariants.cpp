// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StringVariants.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace velmaro {

std::u16string AnsiToUnicode(const std::string& S) {
    return platform::CodePage::system().toUtf16(S.c_str());
}

TStringVariants MakeStringVariants(const std::string& S) {
    TStringVariants variants;
    variants.Ansi = S;
    variants.Unicode = AnsiToUnicode(S);
    variants.Utf8 = platform::Utf16ToUtf8(variants.Unicode);
    return variants;
}

} // namespace velmaro
