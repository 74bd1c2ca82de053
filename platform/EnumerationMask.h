// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmaro::platform {

// A file-name mask of the directory enumeration, compiled once and then tested against many
// names. The mask follows the rules of the Windows file API, including its translation:
//   - "*.*" alone becomes "*";
//   - trailing dots are dropped; when the mask ended in "." and what is left ends in "*", that
//     "*" becomes DOS_STAR (so "*." is DOS_STAR alone);
//   - every "?" becomes DOS_QM;
//   - a "." followed by "?" or "*" becomes DOS_DOT;
//   - a "*" followed by "." becomes DOS_STAR.
// Matching: "*" takes any run of characters, dots included; DOS_STAR any run that does not
// consume the name's last "."; DOS_QM one character other than ".", or nothing at a "." or at
// the end of the name; DOS_DOT a "." or nothing at the end of the name; every other character
// matches the same character in either letter case of the 8-bit code page in force when the
// mask was compiled. There are no 8.3 short names.
class EnumerationMask {
public:
    // The mask "*": every name matches.
    EnumerationMask();

    // Compiles Mask (any bytes; an empty mask, or one of dots only, matches no entry, since no
    // entry has an empty name).
    explicit EnumerationMask(std::string_view Mask);

    // Whether Name matches. Allocates nothing. Names longer than a file system allows
    // (NameMax bytes) never match.
    bool matches(std::string_view Name) const;

    // Longest name matches() can accept; no Linux file system stores a longer one.
    static constexpr std::size_t NameMax = 255;

private:
    // Pattern tokens: 0..255 are literal bytes (already lower-cased), the rest wildcards.
    enum Token : std::uint16_t { Star = 256, DosStar, DosQm, DosDot };

    void compile(std::string_view Mask);
    bool matchesMiddle(std::string_view Name, std::size_t Start, std::size_t Stop) const;

    std::vector<std::uint16_t> m_tokens;
    // Literal tokens at the start and at the end of the mask: they must meet the name's first
    // and last bytes, which rejects most names after a few byte compares.
    std::size_t m_prefix = 0;
    std::size_t m_suffix = 0;
    bool m_matchesAll = false;
    unsigned char m_lower[256] = {};
};

} // namespace velmaro::platform
