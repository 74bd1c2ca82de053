// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MaskSet.h"

#include "platform/CodePage.h"

#include <bit>
#include <optional>

namespace velmaro {

namespace {

// The character a mask's last element demands of a name's last character, or none when the
// mask ends in a wildcard (or is made of dots only). Trailing dots do not count: the
// enumeration drops them.
std::optional<unsigned char> lastLiteral(std::string_view mask) {
    while (!mask.empty() && mask.back() == '.')
        mask.remove_suffix(1);
    if (mask.empty() || mask.back() == '*' || mask.back() == '?')
        return std::nullopt;
    return static_cast<unsigned char>(mask.back());
}

} // namespace

void MaskSet::assign(const TStringList& Masks) {
    const platform::CodePage& codePage = platform::CodePage::system();
    for (int c = 0; c < 256; ++c)
        m_lower[c] = codePage.toLower(static_cast<unsigned char>(c));
    m_masks.clear();
    m_required.clear();
    m_candidates.clear();
    for (int i = 0; i < Masks.Count(); ++i) {
        const std::string& text = Masks.Items(i);
        const std::size_t index = m_masks.size();
        if (index % GroupSize == 0)
            m_candidates.emplace_back().fill(0);
        const std::uint64_t bit = std::uint64_t{1} << (index % GroupSize);
        std::array<std::uint64_t, 256>& candidates = m_candidates.back();
        if (const auto literal = lastLiteral(text)) {
            candidates[m_lower[*literal]] |= bit;
        } else {
            for (std::uint64_t& entry : candidates)
                entry |= bit;
        }
        m_masks.emplace_back(text);
        // A dot may stand for "nothing at the end of the name", so it is never required.
        ByteSet& required = m_required.emplace_back();
        for (const char c : text)
            if (c != '*' && c != '?' && c != '.')
                required.add(m_lower[static_cast<unsigned char>(c)]);
    }
}

std::uint64_t MaskSet::matches(std::size_t Group, std::string_view Name) const {
    if (Name.empty())
        return 0;
    std::uint64_t candidates =
        m_candidates[Group][m_lower[static_cast<unsigned char>(Name.back())]];
    ByteSet present;
    for (const char c : Name)
        present.add(m_lower[static_cast<unsigned char>(c)]);
    std::uint64_t result = 0;
    while (candidates != 0) {
        const int k = std::countr_zero(candidates);
        candidates &= candidates - 1;
        const std::size_t index = Group * GroupSize + k;
        if (present.includes(m_required[index]) && m_masks[index].matches(Name))
            result |= std::uint64_t{1} << k;
    }
    return result;
}

} // namespace velmaro
