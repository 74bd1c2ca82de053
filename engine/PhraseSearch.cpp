#include "engine/PhraseSearch.h"

#include "engine/CharTables.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace velmaro {

namespace {

using platform::FileStream;

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
// the next unit that folds like the phrase's first unit.
template <class Unit>
class Blocks {
public:
    static constexpr std::size_t Capacity = ContentBlockSize / sizeof(Unit);

    Blocks(FileStream& file, const Unit* table, Unit first, bool swap)
        : m_file(file), m_table(table), m_first(table[first]), m_swap(swap),
          m_buffer(std::make_unique_for_overwrite<Unit[]>(Capacity)) {
        if constexpr (sizeof(Unit) == 1) {
            // Few bytes fold alike; with one or two of them the skip runs on memchr.
            for (int b = 0; b < 256 && m_targetCount <= 2; ++b)
                if (table[b] == m_first)
                    m_targets[m_targetCount++] = static_cast<Unit>(b);
        }
    }

    // Reads the next block; returns its unit count, 0 at the end of the file. An odd byte at
    // the end of a UTF-16 block belongs to no unit.
    std::size_t fill() {
        const std::size_t size = m_file.read(m_buffer.get(), ContentBlockSize) / sizeof(Unit);
        if (m_swap)
            std::transform(m_buffer.get(), m_buffer.get() + size, m_buffer.get(), swapBytes);
        m_nextA = m_nextB = -1;
        return size;
    }

    const Unit* units() const { return m_buffer.get(); }
    FileStream& file() { return m_file; }

    // The first index from `from` on whose unit folds like the phrase's first unit, or n.
    std::size_t findFirst(std::size_t from, std::size_t n) {
        const Unit* units = m_buffer.get();
        if constexpr (sizeof(Unit) == 1) {
            if (m_targetCount == 1)
                return find(m_targets[0], from, n);
            if (m_targetCount == 2) {
                // Each byte's next position is remembered until the scan passes it, so each
                // memchr runs over every stretch once.
                const auto start = static_cast<std::ptrdiff_t>(from);
                if (m_nextA < start)
                    m_nextA = static_cast<std::ptrdiff_t>(find(m_targets[0], from, n));
                if (m_nextB < start)
                    m_nextB = static_cast<std::ptrdiff_t>(find(m_targets[1], from, n));
                return static_cast<std::size_t>(std::min(m_nextA, m_nextB));
            }
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
    std::size_t find(Unit byte, std::size_t from, std::size_t n) const {
        const void* hit = std::memchr(m_buffer.get() + from, byte, n - from);
        return hit ? static_cast<std::size_t>(static_cast<const Unit*>(hit) - m_buffer.get()) : n;
    }

    FileStream& m_file;
    const Unit* m_table;
    Unit m_first;
    bool m_swap;
    std::unique_ptr<Unit[]> m_buffer;
    Unit m_targets[3] = {};
    int m_targetCount = 0;
    std::ptrdiff_t m_nextA = -1;
    std::ptrdiff_t m_nextB = -1;
};

// 8-bit or UTF-16 text: every unit is a character; the word tests look at the unit before a
// match (Prev) and the one after it.
template <class Unit>
class PlainText : public Blocks<Unit> {
public:
    PlainText(FileStream& file, const Unit* table, Unit first, bool swap,
              const std::uint8_t* delimiters)
        : Blocks<Unit>(file, table, first, swap), m_delimiters(delimiters) {}

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

    Utf8Text(FileStream& file, const std::uint8_t* table, std::uint8_t first)
        : Blocks(file, table, first, false) {}

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
    PlainText<std::uint8_t> text(File, table, Length ? phrase[0] : 0, false, DelimiterCharTable);
    return testResult(findPhrase(text, table, phrase, Length, Options.Contains(csoWholeWord)),
                      Options);
}

bool SearchUtf16(FileStream& File, const char16_t* Phrase, std::size_t Length, bool Swap,
                 TContentSearchOptions Options) {
    const char16_t* table =
        Options.Contains(csoCaseSensitive) ? IdentityWideCharTable : LowerCaseWideCharTable;
    // Swap names big-endian text; the units must end up in host order either way.
    const bool swap = Swap == (std::endian::native == std::endian::little);
    PlainText<char16_t> text(File, table, Length ? Phrase[0] : 0, swap, DelimiterWideCharTable);
    return testResult(findPhrase(text, table, Phrase, Length, Options.Contains(csoWholeWord)),
                      Options);
}

bool SearchUtf8(FileStream& File, const char* Phrase, std::size_t Length,
                TContentSearchOptions Options) {
    const auto* phrase = reinterpret_cast<const std::uint8_t*>(Phrase);
    const std::uint8_t* table = byteTable(Options);
    Utf8Text text(File, table, Length ? phrase[0] : 0);
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
