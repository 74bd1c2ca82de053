// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CodePage.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cwctype>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <mutex>
#include <vector>

namespace velmaro::platform {

namespace {

constexpr char16_t ReplacementCharacter = 0xFFFD;

// A locale whose character type is UTF-8, for the wide letter tests. C.UTF-8 is always there
// on Debian; it answers iswalnum/towlower from Unicode's tables.
locale_t utf8CharacterType() {
    static const locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return loc;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts in whole; false when any byte of the input cannot be converted.
    bool convert(const void* in, std::size_t inSize, void* out, std::size_t& outSize) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(static_cast<const char*>(in));
        char* outPtr = static_cast<char*>(out);
        std::size_t outLeft = outSize;
        if (iconv(m_cd, &inPtr, &inSize, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        outSize -= outLeft;
        return true;
    }

    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

// The set's name in upper case without "-" and "_", for comparing the spellings of one set.
std::string comparableName(std::string_view charset) {
    std::string upper;
    for (char c : charset)
        if (c != '-' && c != '_')
            upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return upper;
}

std::string canonicalName(std::string_view charset) {
    return comparableName(charset) == "UTF8" ? "UTF-8" : std::string(charset);
}

// Whether charset is 7-bit ASCII under one of its names; glibc calls it ANSI_X3.4-1968.
bool isPlainAscii(std::string_view charset) {
    const std::string name = comparableName(charset);
    return name == "ANSIX3.41968" || name == "ASCII" || name == "USASCII" || name == "646" ||
           name == "ISO646US";
}

std::mutex registryMutex;
// Code pages once made stay alive for the life of the process, so that a reference from
// system() never dangles when code switches the code page.
std::vector<std::unique_ptr<CodePage>>& registry() {
    static std::vector<std::unique_ptr<CodePage>> pages;
    return pages;
}
std::atomic<const CodePage*> current{nullptr};

} // namespace

struct CodePageFactory {
    static const CodePage* make(std::string_view charset) {
        const std::string name = canonicalName(charset);
        std::lock_guard lock(registryMutex);
        for (const auto& page : registry())
            if (page->name() == name)
                return page.get();
        auto page = std::unique_ptr<CodePage>(new CodePage(name, name == "UTF-8"));
        if (!page->isUtf8() && !page->fillSingleByteTables())
            return nullptr;
        registry().push_back(std::move(page));
        return registry().back().get();
    }
};

CodePage::CodePage(std::string name, bool utf8) : m_name(std::move(name)), m_utf8(utf8) {
    for (int c = 0; c < 256; ++c) {
        const bool asciiLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        m_alnum[c] = asciiLetter || digit || (m_utf8 && c >= 0x80);
        m_lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
}

CodePage::~CodePage() = default;

bool CodePage::fillSingleByteTables() {
    Iconv toWide("UTF-32LE", m_name.c_str());
    Iconv fromWide(m_name.c_str(), "UTF-32LE");
    if (!toWide.valid() || !fromWide.valid())
        return false;
    const locale_t loc = utf8CharacterType();
    for (int c = 1; c < 256; ++c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        char32_t wide = 0;
        std::size_t wideSize = sizeof wide;
        if (!toWide.convert(&byte, 1, &wide, wideSize) || wideSize != sizeof wide) {
            // Some sets leave a byte unassigned: it is neither letter nor digit.
            m_alnum[c] = false;
            m_lower[c] = byte;
            continue;
        }
        m_alnum[c] = iswalnum_l(static_cast<wint_t>(wide), loc) != 0;
        const char32_t lower = static_cast<char32_t>(towlower_l(static_cast<wint_t>(wide), loc));
        unsigned char back[4];
        std::size_t backSize = sizeof back;
        if (lower != wide && fromWide.convert(&lower, sizeof lower, back, backSize) &&
            backSize == 1)
            m_lower[c] = back[0];
        else
            m_lower[c] = byte;
    }
    // A multi-byte set would answer a single byte with nothing or with several characters;
    // only true 8-bit sets get this far with every ASCII letter mapped.
    return m_alnum[static_cast<unsigned char>('A')];
}

const CodePage& CodePage::system() {
    const CodePage* page = current.load(std::memory_order_acquire);
    if (!page) {
        page = CodePageFactory::make("UTF-8");
        const CodePage* expected = nullptr;
        if (!current.compare_exchange_strong(expected, page))
            page = expected;
    }
    return *page;
}

bool CodePage::select(std::string_view charset) {
    const CodePage* page = CodePageFactory::make(charset);
    if (!page)
        return false;
    current.store(page, std::memory_order_release);
    return true;
}

void CodePage::selectFromLocale() {
    std::setlocale(LC_ALL, "");
    const char* codeset = nl_langinfo(CODESET);
    // Plain ASCII cannot hold a single Russian letter: every text and name written in it would
    // come out as "?". It stands for "no character set chosen" (the C locale, or a locale that
    // could not be loaded), and Qt reads it as UTF-8 too.
    if (!codeset || isPlainAscii(codeset) || !select(codeset))
        select("UTF-8");
}

std::u16string CodePage::toUtf16(std::string_view text) const {
    std::u16string result;
    result.reserve(text.size());
    Iconv conv("UTF-16LE", m_name.c_str());
    if (!conv.valid())
        return result;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char16_t buffer[256];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(conv.handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(buffer, (sizeof buffer - outLeft) / sizeof(char16_t));
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (error == EILSEQ || error == EINVAL) {
            // An invalid or cut-off sequence: one replacement character for its first byte.
            result.push_back(ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(conv.handle(), nullptr, nullptr, nullptr, nullptr);
        } else if (error != E2BIG) {
            break;
        }
    }
    return result;
}

std::string CodePage::fromUtf16(std::u16string_view text) const {
    std::string result;
    result.reserve(text.size());
    Iconv conv(m_name.c_str(), "UTF-16LE");
    if (!conv.valid())
        return result;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(char16_t);
    char buffer[512];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(conv.handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(buffer, sizeof buffer - outLeft);
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (error == EILSEQ || error == EINVAL) {
            // A character the set cannot hold, or an unpaired surrogate: one "?" for it.
            const bool pair = inLeft >= 4 && (in[1] & 0xFC) == 0xD8 && (in[3] & 0xFC) == 0xDC;
            const std::size_t skip = std::min<std::size_t>(pair ? 4 : 2, inLeft);
            result.push_back('?');
            in += skip;
            inLeft -= skip;
            iconv(conv.handle(), nullptr, nullptr, nullptr, nullptr);
        } else if (error != E2BIG) {
            break;
        }
    }
    return result;
}

bool CodePage::isAlphaNumericWide(char16_t c) {
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return iswalnum_l(static_cast<wint_t>(c), utf8CharacterType()) != 0;
}

char16_t CodePage::toLowerWide(char16_t c) {
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    const wint_t lower = towlower_l(static_cast<wint_t>(c), utf8CharacterType());
    return lower <= 0xFFFF ? static_cast<char16_t>(lower) : c;
}

} // namespace velmaro::platform
