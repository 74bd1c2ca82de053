// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EnumerationMask.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>

namespace velmaro::platform {

EnumerationMask::EnumerationMask() : EnumerationMask("*") {}

EnumerationMask::EnumerationMask(std::string_view Mask) {
    const CodePage& codePage = CodePage::system();
    for (int c = 0; c < 256; ++c)
        m_lower[c] = codePage.toLower(static_cast<unsigned char>(c));
    compile(Mask);
}

void EnumerationMask::compile(std::string_view Mask) {
    if (Mask == "*.*")
        Mask = "*";
    const bool endedInDot = !Mask.empty() && Mask.back() == '.';
    while (!Mask.empty() && Mask.back() == '.')
        Mask.remove_suffix(1);

    m_tokens.reserve(Mask.size());
    for (std::size_t i = 0; i < Mask.size(); ++i) {
        const char c = Mask[i];
        const char following = i + 1 < Mask.size() ? Mask[i + 1] : '\0';
        if (c == '?')
            m_tokens.push_back(DosQm);
        else if (c == '.' && (following == '?' || following == '*'))
            m_tokens.push_back(DosDot);
        else if (c == '*' && following == '.')
            m_tokens.push_back(DosStar);
        else if (c == '*')
            m_tokens.push_back(endedInDot && i + 1 == Mask.size() ? DosStar : Star);
        else
            m_tokens.push_back(m_lower[static_cast<unsigned char>(c)]);
    }
    m_matchesAll = m_tokens.size() == 1 && m_tokens.front() == Star;
    const auto isLiteral = [](std::uint16_t token) { return token < Star; };
    while (m_prefix < m_tokens.size() && isLiteral(m_tokens[m_prefix]))
        ++m_prefix;
    while (m_prefix + m_suffix < m_tokens.size() &&
           isLiteral(m_tokens[m_tokens.size() - 1 - m_suffix]))
        ++m_suffix;
}

bool EnumerationMask::matches(std::string_view Name) const {
    const std::size_t length = Name.size();
    if (length > NameMax)
        return false;
    if (m_matchesAll)
        return true;
    if (length < m_prefix + m_suffix)
        return false;
    const auto folded = [this, &Name](std::size_t i) {
        return m_lower[static_cast<unsigned char>(Name[i])];
    };
    for (std::size_t i = 0; i < m_prefix; ++i)
        if (folded(i) != m_tokens[i])
            return false;
    const std::size_t tailStart = m_tokens.size() - m_suffix;
    for (std::size_t i = 0; i < m_suffix; ++i)
        if (folded(length - m_suffix + i) != m_tokens[tailStart + i])
            return false;
    if (m_prefix == m_tokens.size())
        return length == m_prefix;
    return matchesMiddle(Name, m_prefix, length - m_suffix);
}

// Whether the tokens between the literal prefix and suffix take the name's bytes from Start
// exactly to Stop. The set of name positions reached so far is carried through the tokens:
// reached[i] means the bytes before i are taken. This costs tokens x name length steps at
// worst, whatever the mask, with no backtracking and no allocation; lo and hi bound the set so
// that literal runs cost little.
bool EnumerationMask::matchesMiddle(std::string_view Name, std::size_t Start,
                                    std::size_t Stop) const {
    const std::size_t length = Name.size();
    std::size_t lastDot = length; // none: DOS_STAR may take every byte
    for (std::size_t i = length; i-- > 0;)
        if (Name[i] == '.') {
            lastDot = i;
            break;
        }

    std::array<bool, NameMax + 2> first{};
    std::array<bool, NameMax + 2> second{};
    bool* reached = first.data();
    bool* next = second.data();
    reached[Start] = true;
    std::size_t lo = Start;
    std::size_t hi = Start;
    const std::size_t tokenEnd = m_tokens.size() - m_suffix;
    for (std::size_t t = m_prefix; t < tokenEnd; ++t) {
        const std::uint16_t token = m_tokens[t];
        std::size_t newLo = Stop + 1;
        std::size_t newHi = 0;
        const auto mark = [&](std::size_t j) {
            if (j > Stop)
                return;
            next[j] = true;
            newLo = std::min(newLo, j);
            newHi = std::max(newHi, j);
        };
        for (std::size_t i = lo; i <= std::min(hi + 1, Stop); ++i)
            next[i] = false;
        switch (token) {
        case Star:
            for (std::size_t i = lo; i <= Stop; ++i)
                next[i] = true;
            newLo = lo;
            newHi = Stop;
            break;
        case DosStar: {
            bool carried = false;
            for (std::size_t i = lo; i <= Stop; ++i) {
                carried = (i <= hi && reached[i]) || (carried && i - 1 != lastDot);
                if (!carried && i > hi)
                    break;
                if (carried)
                    mark(i);
                else
                    next[i] = false;
            }
            break;
        }
        case DosQm:
            for (std::size_t i = lo; i <= hi; ++i)
                if (reached[i])
                    mark(i == length || Name[i] == '.' ? i : i + 1);
            break;
        case DosDot:
            for (std::size_t i = lo; i <= hi; ++i) {
                if (!reached[i])
                    continue;
                if (i == length)
                    mark(i);
                else if (Name[i] == '.')
                    mark(i + 1);
            }
            break;
        default:
            for (std::size_t i = lo; i <= hi && i < Stop; ++i)
                if (reached[i] && m_lower[static_cast<unsigned char>(Name[i])] == token)
                    mark(i + 1);
            break;
        }
        if (newLo > newHi)
            return false;
        std::swap(reached, next);
        lo = newLo;
        hi = newHi;
    }
    return lo <= Stop && Stop <= hi && reached[Stop];
}

} // namespace velmaro::platform
