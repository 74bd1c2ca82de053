// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <initializer_list>

namespace velmaro {

// One option of the content search.
enum TContentSearchOption : std::uint8_t {
    csoCaseSensitive, // compare units as they are, not through the lower-case tables
    csoWholeWord,     // a match counts only between delimiters (or the ends of the text)
    csoNegate,        // pass the files that do not contain the phrase
};

// A set of content search options, kept in one byte (bit 1 << option).
class TContentSearchOptions {
public:
    constexpr TContentSearchOptions() = default;
    constexpr TContentSearchOptions(std::initializer_list<TContentSearchOption> Options) {
        for (TContentSearchOption option : Options)
            Include(option);
    }

    constexpr bool Contains(TContentSearchOption Option) const {
        return (m_bits & bitOf(Option)) != 0;
    }
    constexpr void Include(TContentSearchOption Option) { m_bits |= bitOf(Option); }
    constexpr bool Empty() const { return m_bits == 0; }

    friend constexpr bool operator==(TContentSearchOptions, TContentSearchOptions) = default;

private:
    static constexpr std::uint8_t bitOf(TContentSearchOption option) {
        return static_cast<std::uint8_t>(1u << option);
    }

    std::uint8_t m_bits = 0;
};

} // namespace velmaro
