// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StringList.h"
#include "platform/EnumerationMask.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmaro {

// The file-name masks of one target, compiled once, tested against names in groups of up to
// 64 masks: one call answers which masks of a group match a name. A mask whose last character
// is a literal can only match names ending in that character (in either letter case), so a
// name is tested only against the masks its last byte allows and the masks that end in a
// wildcard; and only when the name holds every literal character of the mask besides the dot
// (each literal matches one character of the name). Most names of a folder are so rejected
// without running a mask.
class MaskSet {
public:
    static constexpr std::size_t GroupSize = 64;

    // Compiles Masks under the code page in force.
    void assign(const TStringList& Masks);

    std::size_t count() const { return m_masks.size(); }
    std::size_t groupCount() const { return (m_masks.size() + GroupSize - 1) / GroupSize; }

    // The masks of group Group (masks Group * 64 to Group * 64 + 63) that match Name, as bits:
    // bit k stands for mask Group * 64 + k.
    std::uint64_t matches(std::size_t Group, std::string_view Name) const;

private:
    // A set of folded bytes.
    struct ByteSet {
        std::uint64_t words[4] = {};
        void add(unsigned char c) { words[c >> 6] |= std::uint64_t{1} << (c & 63); }
        bool includes(const ByteSet& other) const {
            return ((other.words[0] & ~words[0]) | (other.words[1] & ~words[1]) |
                    (other.words[2] & ~words[2]) | (other.words[3] & ~words[3])) == 0;
        }
    };

    std::vector<platform::EnumerationMask> m_masks;
    std::vector<ByteSet> m_required; // per mask: the folded literals a name must hold
    // Per group, per folded last byte of a name: the masks that can match it.
    std::vector<std::array<std::uint64_t, 256>> m_candidates;
    unsigned char m_lower[256] = {};
};

} // namespace velmaro
