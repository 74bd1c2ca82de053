// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmaro::platform {

// The system's 8-bit code page (the Windows ANSI code page): which bytes are letters or digits,
// how they lower-case, and how 8-bit text converts to UTF-16. On Linux it is the locale's
// character set. Code may switch it (tests do, so that they never depend on the machine's
// locale); switch it only while no search is running.
class CodePage {
public:
    // The code page in force. Until a select call it is UTF-8.
    static const CodePage& system();

    // Makes the character set of the user's locale (setlocale(LC_ALL, ""), nl_langinfo(CODESET))
    // the code page in force. UTF-8 serves when that set is plain ASCII (the C locale, or a
    // locale that cannot be loaded) and when iconv does not know it; a real 8-bit set such as
    // CP1251 or KOI8-R is kept. Changes the process's C locale; call it before any thread starts.
    static void selectFromLocale();

    // Makes the named character set ("UTF-8", "CP1251", "KOI8-R", ...) the code page in force.
    // Returns false, and changes nothing, when the set is unknown or not an 8-bit or UTF-8 set.
    static bool select(std::string_view charset);

    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // The character set's name as given to select.
    const std::string& name() const { return m_name; }
    bool isUtf8() const { return m_utf8; }

    // IsCharAlphaNumericA: whether byte c is a letter or digit. Under UTF-8 every byte from
    // 0x80 up counts as a letter.
    bool isAlphaNumeric(unsigned char c) const { return m_alnum[c]; }

    // CharLowerBuffA for one byte: its lower-case form in this code page, or c itself.
    unsigned char toLower(unsigned char c) const { return m_lower[c]; }

    // MultiByteToWideChar from this code page with flags 0: bytes that do not form a valid
    // character become U+FFFD; characters outside the Basic Multilingual Plane become a
    // surrogate pair.
    std::u16string toUtf16(std::string_view text) const;

    // WideCharToMultiByte to this code page with flags 0: characters the set cannot hold, and
    // unpaired surrogates, become "?".
    std::string fromUtf16(std::u16string_view text) const;

    // IsCharAlphaNumericW: whether the 16-bit character c is a letter or digit. Surrogates are not.
    static bool isAlphaNumericWide(char16_t c);

    // Wide lower-casing of one 16-bit character: its lower-case form, or c itself.
    static char16_t toLowerWide(char16_t c);

private:
    friend struct CodePageFactory;
    CodePage(std::string name, bool utf8);
    bool fillSingleByteTables();

    std::string m_name;
    bool m_utf8;
    bool m_alnum[256] = {};
    unsigned char m_lower[256] = {};
};

} // namespace velmaro::platform
