// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PhraseSearch.h"

#include "engine/CharTables.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmaro {

namespace {

using platform::FileStream;

// Where the phrase could start in a block of bytes while no partial match is open: the next
// byte that folds like the phrase's first byte and is followed by one that folds like its
// second. Passing over a first byte whose follower does not fit changes no answer: the search
// would take it as a start, break at the follower and test the follower again as a start, just
// where the skip arrives. The last byte of a block is always a candidate, since its follower is
// not read yet. Usable when at most two bytes fold like each of the phrase's first two bytes.
class ByteFilter {
public:
    ByteFilter(const std::uint8_t* table, const std::uint8_t* phrase, std::size_t length)
        : m_pair(length >= 2) {
        m_usable = length >= 1 && collect(table, phrase[0], m_first) &&
                   (!m_pair || collect(table, phrase[1], m_second));
    }

    bool usable() const { return m_usable; }

    // The first index from `from` on that could start the phrase, or n.
    std::size_t find(const std::uint8_t* bytes, std::size_t from, std::size_t n) const {
        std::size_t i = from;
#if defined(__SSE2__)
        const __m128i first0 = _mm_set1_epi8(static_cast<char>(m_first[0]));
        const __m128i first1 = _mm_set1_epi8(static_cast<char>(m_first[1]));
        const __m128i second0 = _mm_set1_epi8(static_cast<char>(m_second[0]));
        const __m128i second1 = _mm_set1_epi8(static_cast<char>(m_second[1]));
        for (; i + 17 <= n; i += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            __m128i hits =
                _mm_or_si128(_mm_cmpeq_epi8(chunk, first0), _mm_cmpeq_epi8(chunk, first1));
            if (m_pair) {
                const __m128i next =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 1));
                hits = _mm_and_si128(hits, _mm_or_si128(_mm_cmpeq_epi8(next, second0),
                                                        _mm_cmpeq_epi8(next, second1)));
            }
            if (const int mask = _mm_movemask_epi8(hits))
                return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
#endif
        for (; i < n; ++i)
            if (isFirst(bytes[i]) && (!m_pair || i + 1 == n || isSecond(bytes[i + 1])))
                return i;
        return n;
    }

private:
    // The bytes that fold like unit (one of them given twice when there is only one); false
    // when there are more than two.
    static bool collect(const std::uint8_t* table, std::uint8_t unit, std::uint8_t (&out)[2]) {
        int count = 0;
        for (int b = 0; b < 256; ++b)
            if (table[b] == table[unit]) {
                if (count == 2)
                    return false;
                out[count++] = static_cast<std::uint8_t>(b);
            }
        if (count == 1)
            out[1] = out[0];
        return count > 0;
    }

    bool isFirst(std::uint8_t b) const {
        return b == m_first[0] || b == m_first[1];
    }
    bool isSecond(std::uint8_t b) const {
        return b == m_second[0] || b == m_second[1];
    }

    std::uint8_t m_first[2] = {};
    std::uint8_t m_second[2] = {};
    bool m_pair;
    bool m_usable = false;
};

char16_t swapBytes(char16_t unit) {
    return static_cast<char16_t>((unit >> 8) | (unit << 8));
}

// Whether the bytes of one UTF-8 character count as a delimiter: a character that does not
// decode to exactly one UTF-16 unit does.
bool isDelimiterCharacter(const unsigned char* bytes, std::size_t count) {
    char16_t unit = 0;
    return !platform::Utf8CharToUtf16(bytes, count, unit) || DelimiterWideCharTable[unit] != 0;
}

// The blocks of a file as units (bytes or UTF-16 code units in host order), and the skip to
// the next unit that could start the phrase.
template <class Unit>
class Blocks {
public:
    static constexpr std::size_t Capacity = ContentBlockSize / sizeof(Unit);

    Blocks(FileStream& file, const Unit* table, const Unit* phrase, std::size_t length, bool swap)
        : m_file(file), m_table(table), m_first(length ? table[phrase[0]] : 0), m_swap(swap),
          m_filter(makeFilter(table, phrase, length)),
          m_buffer(std::make_unique_for_overwrite<Unit[]>(Capacity)) {}

    // Reads the next block; returns its unit count, 0 at the end of the file. An odd byte at
    // the end of a UTF-16 block belongs to no unit.
    std::size_t fill() {
        const std::size_t size = m_file.read(m_buffer.get(), ContentBlockSize) / sizeof(Unit);
        if (m_swap)
            std::transform(m_buffer.get(), m_buffer.get() + size, m_buffer.get(), swapBytes);
        return size;
    }

    const Unit* units() const { return m_buffer.get(); }
    FileStream& file() { return m_file; }

    // The first index from `from` on that could start the phrase (at least, its unit folds
    // like the phrase's first unit), or n.
    std::size_t findFirst(std::size_t from, std::size_t n) const {
        const Unit* units = m_buffer.get();
        if constexpr (sizeof(Unit) == 1) {
            if (m_filter.usable())
                return m_filter.find(units, from, n);
        }
        while (from < n && m_table[units[from]] != m_first)
            ++from;
        return from;
    }

    // Reads the unit after the block from the file; 0 when the file has no whole unit left.
    // Returns the number of bytes read, which the caller gives back if it needs to.
    std::size_t readUnit(Unit& unit) {
        const std::size_t got = m_file.read(&unit, sizeof unit);
        if (got < sizeof unit)
            unit = 0;
        else if (m_swap)
            unit = swapBytes(unit);
        return got;
    }

private:
    FileStream& m_file;
    const Unit* m_table;
    Unit m_first;
    bool m_swap;
    struct NoFilter {};
    using Filter = std::conditional_t<sizeof(Unit) == 1, ByteFilter, NoFilter>;
    static Filter makeFilter(const Unit* table, const Unit* phrase, std::size_t length) {
        if constexpr (sizeof(Unit) == 1)
            return ByteFilter(table, phrase, length);
        else
            return NoFilter{};
    }
    Filter m_filter;
    std::unique_ptr<Unit[]> m_buffer;
};

// 8-bit or UTF-16 text: every unit is a character; the word tests look at the unit before a
// match (Prev) and the one after it.
template <class Unit>
class PlainText : public Blocks<Unit> {
public:
    PlainText(FileStream& file, const Unit* table, const Unit* phrase, std::size_t length,
              bool swap, const std::uint8_t* delimiters)
        : Blocks<Unit>(file, table, phrase, length, swap), m_delimiters(delimiters) {}

    void pass(std::size_t, std::size_t to) { m_prev = this->units()[to - 1]; }
    void step(Unit c) { m_prev = c; }
    bool startsCharacter(Unit) const { return true; }
    bool delimiterBefore() const { return m_delimiters[m_prev] != 0; }

    bool delimiterAfter(std::size_t i, std::size_t n) {
        if (i + 1 < n)
            return m_delimiters[this->units()[i + 1]] != 0;
        Unit next = 0;
        const std::size_t got = this->readUnit(next);
        if (m_delimiters[next] != 0)
            return true;
        this->file().seekBack(got);
        return false;
    }

private:
    const std::uint8_t* m_delimiters;
    Unit m_prev = 0;
};

// UTF-8 text: bytes are compared one by one, but a match starts only at a character start and
// the word tests decode whole characters. A character is a start byte and the continuation
// bytes after it, at most 8; a byte below 0x80 always ends its character.
class Utf8Text : public Blocks<std::uint8_t> {
public:
    static constexpr std::size_t MaxCharacter = 8;

    Utf8Text(FileStream& file, const std::uint8_t* table, const std::uint8_t* phrase,
             std::size_t length)
        : Blocks(file, table, phrase, length, false) {}

    bool startsCharacter(std::uint8_t c) const {
        return m_count == 0 || m_char[m_count - 1] < 0x80 || m_count == MaxCharacter ||
               (c & 0xC0) != 0x80;
    }

    void step(std::uint8_t c) {
        if (startsCharacter(c))
            m_count = 0;
        m_char[m_count++] = c;
    }

    void pass(std::size_t from, std::size_t to) {
        // A byte below 0x80 is a character by itself, so the state after the last such byte
        // is known without going through the bytes before it.
        const std::uint8_t* units = this->units();
        std::size_t k = to;
        while (k > from && units[k - 1] >= 0x80)
            --k;
        if (k > from) {
            m_char[0] = units[k - 1];
            m_count = 1;
        }
        for (; k < to; ++k)
            step(units[k]);
    }

    bool delimiterBefore() const { return isDelimiterCharacter(m_char, m_count); }

    bool delimiterAfter(std::size_t i, std::size_t n) {
        std::size_t next = i + 1;
        std::size_t fromFile = 0;
        auto fetch = [&](std::uint8_t& byte) {
            if (next < n) {
                byte = this->units()[next++];
                return true;
            }
            if (file().read(&byte, 1) != 1)
                return false;
            ++fromFile;
            return true;
        };
        std::uint8_t character[MaxCharacter];
        std::size_t count = 0;
        std::uint8_t byte = 0;
        if (fetch(byte)) {
            character[count++] = byte;
            // A byte that starts the next character ends this one (it stays read).
            while (count < MaxCharacter && character[count - 1] >= 0x80 && fetch(byte) &&
                   (byte & 0xC0) == 0x80)
                character[count++] = byte;
        }
        if (isDelimiterCharacter(character, count))
            return true;
        file().seekBack(fromFile);
        return false;
    }

private:
    std::uint8_t m_char[MaxCharacter] = {};
    std::size_t m_count = 0; // 0 only before the first byte of the text
};

// The forward search: P runs through the phrase, carried from block to block; a unit that
// breaks a partial match is tested again as a possible start. While P is 0 the search jumps to
// the next unit that could start the phrase; the units passed over change nothing but the
// word-test state. Returns whether the phrase was found.
template <class Text, class Unit>
bool findPhrase(Text& text, const Unit* table, const Unit* phrase, std::size_t length,
                bool wholeWord) {
    if (length == 0)
        return false;
    std::size_t p = 0;
    while (const std::size_t n = text.fill()) {
        const Unit* units = text.units();
        std::size_t i = 0;
        while (i < n) {
            if (p == 0) {
                const std::size_t next = text.findFirst(i, n);
                if (next > i)
                    text.pass(i, next);
                i = next;
                if (i == n)
                    break;
            }
            const Unit c = units[i];
            for (;;) {
                bool candidate = table[c] == table[phrase[p]];
                if (candidate && p == 0)
                    candidate = text.startsCharacter(c) && (!wholeWord || text.delimiterBefore());
                if (candidate) {
                    if (++p == length) {
                        if (!wholeWord || text.delimiterAfter(i, n))
                            return true;
                        p = 0;
                    }
                    break;
                }
                if (p == 0)
                    break;
                p = 0;
            }
            text.step(c);
            ++i;
        }
    }
    return false;
}

bool testResult(bool found, TContentSearchOptions options) {
    return found != options.Contains(csoNegate);
}

const std::uint8_t* byteTable(TContentSearchOptions options) {
    return options.Contains(csoCaseSensitive) ? IdentityCharTable : LowerCaseCharTable;
}

} // namespace

bool SearchAnsi(FileStream& File, const char* Phrase, std::size_t Length,
                TContentSearchOptions Options) {
    const auto* phrase = reinterpret_cast<const std::uint8_t*>(Phrase);
    const std::uint8_t* table = byteTable(Options);
    PlainText<std::uint8_t> text(File, table, phrase, Length, false, DelimiterCharTable);
    return testResult(findPhrase(text, table, phrase, Length, Options.Contains(csoWholeWord)),
                      Options);
}

bool SearchUtf16(FileStream& File, const char16_t* Phrase, std::size_t Length, bool Swap,
                 TContentSearchOptions Options) {
    const char16_t* table =
        Options.Contains(csoCaseSensitive) ? IdentityWideCharTable : LowerCaseWideCharTable;
    // Swap names big-endian text; the units must end up in host order either way.
    const bool swap = Swap == (std::endian::native == std::endian::little);
    PlainText<char16_t> text(File, table, Phrase, Length, swap, DelimiterWideCharTable);
    return testResult(findPhrase(text, table, Phrase, Length, Options.Contains(csoWholeWord)),
                      Options);
}

bool SearchUtf8(FileStream& File, const char* Phrase, std::size_t Length,
                TContentSearchOptions Options) {
    const auto* phrase = reinterpret_cast<const std::uint8_t*>(Phrase);
    const std::uint8_t* table = byteTable(Options);
    Utf8Text text(File, table, phrase, Length);
    return testResult(findPhrase(text, table, phrase, Length, Options.Contains(csoWholeWord)),
                      Options);
}

bool SearchFile(const std::string& FileName, const TStringVariants& Variants,
                TContentSearchOptions Options) {
    FileStream file;
    if (!file.open(FileName))
        throw EFOpenError("Cannot open file \"" + FileName + "\"");
    unsigned char mark[3];
    std::size_t got = file.read(mark, 2);
    if (got == 2) {
        if (mark[0] == 0xFF && mark[1] == 0xFE)
            return SearchUtf16(file, Variants.Unicode.data(), Variants.Unicode.size(), false,
                               Options);
        if (mark[0] == 0xFE && mark[1] == 0xFF)
            return SearchUtf16(file, Variants.Unicode.data(), Variants.Unicode.size(), true,
                               Options);
        if (mark[0] == 0xEF && mark[1] == 0xBB) {
            got += file.read(mark + 2, 1);
            if (got == 3 && mark[2] == 0xBF)
                return SearchUtf8(file, Variants.Utf8.data(), Variants.Utf8.size(), Options);
        }
    }
    file.seekBack(got);
    return SearchAnsi(file, Variants.Ansi.data(), Variants.Ansi.size(), Options);
}

} // namespace velmaro
