// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PhraseSearch.h"

#include "platform/Utf8.h"
#include "support/CodePageFixture.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace velmaro;
using namespace std::string_literals;

namespace {

enum class Encoding { Ansi, Utf16LE, Utf16BE, Utf8 };

const char* nameOf(Encoding e) {
    switch (e) {
    case Encoding::Ansi:
        return "8-bit";
    case Encoding::Utf16LE:
        return "UTF-16LE";
    case Encoding::Utf16BE:
        return "UTF-16BE";
    case Encoding::Utf8:
        return "UTF-8";
    }
    return "";
}

std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The file bytes of an ASCII text in the given encoding, with its byte-order mark.
std::string encode(std::u16string_view text, Encoding e) {
    switch (e) {
    case Encoding::Ansi:
        return platform::Utf16ToUtf8(text);
    case Encoding::Utf16LE:
        return "\xFF\xFE" + utf16Bytes(text, false);
    case Encoding::Utf16BE:
        return "\xFE\xFF" + utf16Bytes(text, true);
    case Encoding::Utf8:
        return "\xEF\xBB\xBF" + platform::Utf16ToUtf8(text);
    }
    return {};
}

class PhraseSearchTest : public velmaro::testing::CodePageFixture {
protected:
    // Writes the bytes to a file and searches it for Phrase (8-bit, system code page).
    bool search(const std::string& bytes, const std::string& phrase,
                TContentSearchOptions options = {}) {
        return SearchFile(m_temp.file("file", bytes), MakeStringVariants(phrase), options);
    }

    velmaro::test::TempFolder m_temp;
};

struct Case {
    const char16_t* text;
    const char* phrase;
    TContentSearchOptions options;
    bool found;
};

// The same answers in every encoding the file may come in.
TEST_F(PhraseSearchTest, SameAnswersInEveryEncoding) {
    const TContentSearchOptions cs{csoCaseSensitive}, ww{csoWholeWord}, neg{csoNegate};
    const Case cases[] = {
        {u"the TEMP folder", "Temp", {}, true},
        {u"the TEMP folder", "Temp", cs, false},
        {u"the Temp folder", "Temp", cs, true},
        {u"", "Temp", {}, false},
        {u"", "Temp", neg, true},
        {u"Temp", "Temp", neg, false},
        {u"Tem", "Temp", {}, false},
        // The unit at which a partial match breaks is tested again as a start...
        {u"aab", "ab", {}, true},
        {u"abcabd", "abd", {}, true},
        {u"xaab", "aab", {}, true},
        // ...but the search never goes back to a later start inside the broken match.
        {u"aaab", "aab", {}, false},
        {u"aaab", "aab", neg, true},
        {u"foo bar.", "bar", ww, true},
        {u"bar", "bar", ww, true},
        {u"barx bar", "bar", ww, true},
        {u"foobar", "bar", ww, false},
        {u"barx", "bar", ww, false},
        {u"foobar", "bar", {}, true},
        {u"_bar_", "bar", ww, true},
        {u"bar1", "bar", ww, false},
        // After a candidate rejected by the word test the search goes on after it.
        {u" a-a- ", "a-", ww, true},
    };
    for (Encoding e : {Encoding::Ansi, Encoding::Utf16LE, Encoding::Utf16BE, Encoding::Utf8})
        for (const Case& c : cases)
            EXPECT_EQ(search(encode(c.text, e), c.phrase, c.options), c.found)
                << nameOf(e) << " '" << platform::Utf16ToUtf8(c.text) << "' / " << c.phrase;
}

TEST_F(PhraseSearchTest, ByteOrderMarks) {
    // Without a mark UTF-16 is 8-bit text: the zero bytes split the letters.
    EXPECT_FALSE(search(utf16Bytes(u"Temp", false), "Temp"));
    // Only a mark and no units.
    EXPECT_FALSE(search("\xFF\xFE", "Temp"));
    EXPECT_TRUE(search("\xFF\xFE", "Temp", {csoNegate}));
    // The mark is never searched.
    EXPECT_FALSE(search("\xFF\xFE", "\xFF"));
    EXPECT_FALSE(search("\xEF\xBB\xBFx", "\xBF"));
    // EF BB without BF is 8-bit text from offset 0.
    EXPECT_TRUE(search("\xEF\xBB\x41"
                       "BC",
                       "\xEF\xBB"
                       "AB"));
    EXPECT_TRUE(search("\xEF\xBB", "\xEF\xBB"));
    EXPECT_TRUE(search("x", "x"));
    // An odd last byte of UTF-16 belongs to no unit.
    EXPECT_TRUE(search("\xFF\xFET\0e\0m\0p"s, "Tem"));
    EXPECT_FALSE(search("\xFF\xFET\0e\0m\0p"s, "Temp"));
}

// Offsets are counted in units from the start of the text (after the mark).
std::string withPhraseAt(std::size_t unitOffset, std::u16string_view phrase,
                         std::u16string_view after, Encoding e) {
    std::u16string text(unitOffset, u' ');
    text += phrase;
    text += after;
    return encode(text, e);
}

TEST_F(PhraseSearchTest, FindsWhatABlockBoundaryCuts) {
    constexpr std::size_t BlockBytes = ContentBlockSize;
    struct Boundary {
        Encoding encoding;
        std::size_t unitsPerBlock;
    } const boundaries[] = {{Encoding::Ansi, BlockBytes},
                            {Encoding::Utf16LE, BlockBytes / 2},
                            {Encoding::Utf16BE, BlockBytes / 2},
                            {Encoding::Utf8, BlockBytes}};
    for (const Boundary& b : boundaries) {
        const char* name = nameOf(b.encoding);
        for (std::size_t before = 1; before <= 3; ++before)
            EXPECT_TRUE(
                search(withPhraseAt(b.unitsPerBlock - before, u"ZQXJ", u"", b.encoding), "zqxj"))
                << name << ", phrase starts " << before << " units before the boundary";
        // A match that ends a block: the word test reads the next unit from the file.
        EXPECT_TRUE(search(withPhraseAt(b.unitsPerBlock - 3, u"bar", u" ", b.encoding), "bar",
                           {csoWholeWord}))
            << name;
        EXPECT_FALSE(search(withPhraseAt(b.unitsPerBlock - 3, u"bar", u"x", b.encoding), "bar",
                            {csoWholeWord}))
            << name;
        // ...and gives it back when the match is rejected, so it starts the next match.
        EXPECT_TRUE(search(withPhraseAt(b.unitsPerBlock - 2, u"a-", u"a- ", b.encoding), "a-",
                           {csoWholeWord}))
            << name;
        // The unit before a match in the next block comes from the block before.
        EXPECT_FALSE(search(withPhraseAt(b.unitsPerBlock - 1, u"xbar", u" ", b.encoding), "bar",
                            {csoWholeWord}))
            << name;
    }
    // 8-bit, phrase at byte offset 61438 exactly.
    std::string bytes(61438, '.');
    bytes += "Temp.";
    EXPECT_TRUE(search(bytes, "TEMP"));
}

TEST_F(PhraseSearchTest, Utf8CharactersAndWordTests) {
    const std::string dom = "\xD0\xB4\xD0\xBE\xD0\xBC"; // дом
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_TRUE(search(bom + dom + "abc", "abc"));
    EXPECT_FALSE(search(bom + dom + "abc", "abc", {csoWholeWord}));
    EXPECT_TRUE(search(bom + dom + " abc", "abc", {csoWholeWord}));
    EXPECT_TRUE(search(bom + "abc" + dom, "abc"));
    EXPECT_FALSE(search(bom + "abc" + dom, "abc", {csoWholeWord}));
    // A character outside the Basic Multilingual Plane, or one that does not decode, counts as
    // a delimiter.
    EXPECT_TRUE(search(bom + "\xF0\x9F\x98\x80"
                             "abc",
                       "abc", {csoWholeWord}));
    EXPECT_TRUE(search(bom + "\xFF"
                             "abc\xD0",
                       "abc", {csoWholeWord}));
    // The word test after a match gathers the whole next character, also from the file.
    EXPECT_FALSE(search(withPhraseAt(ContentBlockSize - 3, u"bar", u"\u0434", Encoding::Utf8),
                        "bar", {csoWholeWord}));
    EXPECT_TRUE(search(withPhraseAt(ContentBlockSize - 3, u"bar", u"\u20AC", Encoding::Utf8), "bar",
                       {csoWholeWord}));
    EXPECT_TRUE(search(withPhraseAt(ContentBlockSize - 3, u"\u0434-", u"\u0434- ", Encoding::Utf8),
                       "\xD0\xB4-", {csoWholeWord}));
}

TEST_F(PhraseSearchTest, Utf8MatchesStartAtCharacterStarts) {
    // SearchUtf8 on raw bytes, since no 8-bit phrase converts to a phrase that begins with a
    // continuation byte. Such a phrase matches only where that byte starts a character: after a
    // byte below 0x80, or after a character of 8 bytes.
    auto searchUtf8 = [this](const std::string& bytes) {
        platform::FileStream file;
        EXPECT_TRUE(file.open(m_temp.file("raw", bytes)));
        return SearchUtf8(file, "\x80xyz", 4, {});
    };
    EXPECT_TRUE(searchUtf8("a\x80xyz"));
    EXPECT_TRUE(searchUtf8("\x80xyz"));
    EXPECT_FALSE(searchUtf8("\xD0\x80xyz"));
    EXPECT_FALSE(searchUtf8("\xE0" + std::string(6, '\x80') + "\x80xyz"));
    EXPECT_TRUE(searchUtf8("\xE0" + std::string(7, '\x80') + "\x80xyz"));
    EXPECT_FALSE(searchUtf8("\xE0" + std::string(14, '\x80') + "\x80xyz"));
    EXPECT_TRUE(searchUtf8("\xE0" + std::string(15, '\x80') + "\x80xyz"));
    // The same across a block boundary: the character state carries over.
    std::string text = std::string(ContentBlockSize - 1, ' ') + "\xD0";
    EXPECT_FALSE(searchUtf8(text + "\x80xyz"));
    text.back() = 'a';
    EXPECT_TRUE(searchUtf8(text + "\x80xyz"));
}

TEST_F(PhraseSearchTest, Cp1251PhraseInEveryEncoding) {
    useCodePage("CP1251");
    const std::string dom = "\xE4\xEE\xEC"; // дом in CP1251
    const std::u16string domUpper = u"\u0414\u041E\u041C";
    // 8-bit text folds through the CP1251 table.
    EXPECT_TRUE(search("x \xC4\xCE\xCC y", dom));
    EXPECT_FALSE(search("x \xC4\xCE\xCC y", dom, {csoCaseSensitive}));
    EXPECT_TRUE(search("x \xE4\xEE\xEC y", dom, {csoWholeWord}));
    EXPECT_FALSE(search("x\xE4\xEE\xEC y", dom, {csoWholeWord}));
    // UTF-16 folds through the wide tables.
    EXPECT_TRUE(search(encode(u"x " + domUpper, Encoding::Utf16LE), dom));
    EXPECT_TRUE(search(encode(u"x " + domUpper, Encoding::Utf16BE), dom, {csoWholeWord}));
    // UTF-8 finds the phrase's UTF-8 form; its bytes fold through the 8-bit table only, so the
    // upper-case form is not found.
    EXPECT_TRUE(search(encode(u"x \u0434\u043E\u043C", Encoding::Utf8), dom, {csoWholeWord}));
    EXPECT_FALSE(search(encode(u"x " + domUpper, Encoding::Utf8), dom));
}

TEST_F(PhraseSearchTest, PhraseWithoutUnitsInAnEncodingIsNeverFound) {
    // The conversion stops at a NUL byte, so this phrase has no UTF-16 or UTF-8 units.
    const std::string phrase("\0a", 2);
    EXPECT_FALSE(search(encode(u"abc", Encoding::Utf16LE), phrase));
    EXPECT_TRUE(search(encode(u"abc", Encoding::Utf16LE), phrase, {csoNegate}));
    EXPECT_FALSE(search(encode(u"abc", Encoding::Utf8), phrase));
    EXPECT_TRUE(search(std::string("x\0a", 3), phrase));
}

TEST_F(PhraseSearchTest, CannotOpenThrows) {
    const TStringVariants phrase = MakeStringVariants("x");
    EXPECT_THROW(SearchFile(m_temp.path("missing"), phrase, {}), EFOpenError);
    EXPECT_THROW(SearchFile(m_temp.path(), phrase, {csoNegate}), EFOpenError);
    EXPECT_THROW(SearchFile("/dev/zero", phrase, {}), EFOpenError);
}

TEST_F(PhraseSearchTest, ReadsWhatTheFileHoldsAsItGoes) {
    const std::string p = m_temp.path("changing");
    {
        std::ofstream out(p, std::ios::binary);
        out << std::string(3 * ContentBlockSize, ' ') << "needle";
    }
    const TStringVariants phrase = MakeStringVariants("needle");
    {
        platform::FileStream file;
        ASSERT_TRUE(file.open(p));
        std::filesystem::resize_file(p, ContentBlockSize + 7);
        EXPECT_FALSE(SearchAnsi(file, phrase.Ansi.data(), phrase.Ansi.size(), {}));
    }
    {
        platform::FileStream file;
        ASSERT_TRUE(file.open(p));
        std::ofstream(p, std::ios::binary | std::ios::app) << "needle";
        EXPECT_TRUE(SearchAnsi(file, phrase.Ansi.data(), phrase.Ansi.size(), {}));
    }
}

} // namespace

namespace {

// The forward search unit by unit over the whole text in memory, without blocks and without
// skipping ahead: what the block-wise searches with their skips must answer.
bool referenceSearch(const std::string& text, const std::string& phrase, bool caseSensitive,
                     bool wholeWord, bool utf8) {
    const std::uint8_t* table = caseSensitive ? IdentityCharTable : LowerCaseCharTable;
    auto unit = [](const std::string& s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    auto delimiter = [&](const std::string& character) {
        if (!utf8)
            return DelimiterCharTable[character.empty() ? 0 : unit(character, 0)] != 0;
        char16_t decoded = 0;
        return !platform::Utf8CharToUtf16(reinterpret_cast<const unsigned char*>(character.data()),
                                          character.size(), decoded) ||
               DelimiterWideCharTable[decoded] != 0;
    };
    std::string previous; // Prev, or the previous character's bytes
    std::size_t p = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t c = unit(text, i);
        const bool start = !utf8 || previous.empty() ||
                           unit(previous, previous.size() - 1) < 0x80 || previous.size() == 8 ||
                           (c & 0xC0) != 0x80;
        for (;;) {
            bool candidate = table[c] == table[unit(phrase, p)];
            if (candidate && p == 0)
                candidate = start && (!wholeWord || delimiter(previous));
            if (candidate) {
                if (++p == phrase.size()) {
                    std::string next;
                    for (std::size_t j = i + 1; j < text.size(); ++j) {
                        if (!next.empty() &&
                            (!utf8 || next.size() == 8 || unit(next, next.size() - 1) < 0x80 ||
                             (unit(text, j) & 0xC0) != 0x80))
                            break;
                        next += text[j];
                    }
                    if (!wholeWord || delimiter(next))
                        return true;
                    p = 0;
                }
                break;
            }
            if (p == 0)
                break;
            p = 0;
        }
        if (start)
            previous.clear();
        previous += static_cast<char>(c);
    }
    return false;
}

TEST_F(PhraseSearchTest, SkippingAheadKeepsTheAnswersOfTheUnitByUnitSearch) {
    const char alphabet[] = {'a',    'A',    'b',    ' ',    '-',   '\xD0',
                             '\xB4', '\x80', '\xBF', '\xE0', '\xFF'};
    std::mt19937 random(20260310);
    auto pick = [&] { return alphabet[random() % sizeof alphabet]; };
    for (int round = 0; round < 600; ++round) {
        // Every 30th text crosses the first block boundary.
        const std::size_t length =
            round % 30 == 0 ? ContentBlockSize + random() % 64 : random() % 40;
        std::string text(length, ' ');
        for (char& c : text)
            c = pick();
        std::string phrase(1 + random() % 3, ' ');
        for (char& c : phrase)
            c = pick();
        const std::string path = m_temp.file("random", text);
        for (bool utf8 : {false, true})
            for (bool caseSensitive : {false, true})
                for (bool wholeWord : {false, true}) {
                    TContentSearchOptions options;
                    if (caseSensitive)
                        options.Include(csoCaseSensitive);
                    if (wholeWord)
                        options.Include(csoWholeWord);
                    platform::FileStream file;
                    ASSERT_TRUE(file.open(path));
                    const bool found =
                        utf8 ? SearchUtf8(file, phrase.data(), phrase.size(), options)
                             : SearchAnsi(file, phrase.data(), phrase.size(), options);
                    ASSERT_EQ(found, referenceSearch(text, phrase, caseSensitive, wholeWord, utf8))
                        << (utf8 ? "UTF-8" : "8-bit") << " cs " << caseSensitive << " ww "
                        << wholeWord << " text " << ::testing::PrintToString(text) << " phrase "
                        << ::testing::PrintToString(phrase);
                }
    }
}

} // namespace
