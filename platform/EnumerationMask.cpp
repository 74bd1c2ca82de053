#include "platform/EnumerationMask.h"

#include "platform/CodePage.h"

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
}

// The set of name positions reached so far is carried through the pattern, token by token:
// reached[i] means the first i bytes of the name are matched by the tokens seen. This takes
// tokens x name length steps whatever the mask, with no backtracking and no allocation.
bool EnumerationMask::matches(std::string_view Name) const {
    if (m_matchesAll)
        return Name.size() <= NameMax;
    const std::size_t length = Name.size();
    if (length > NameMax)
        return false;
    const auto byteAt = [&Name](std::size_t i) { return static_cast<unsigned char>(Name[i]); };

    std::size_t lastDot = length; // no dot: every position may be consumed by DOS_STAR
    for (std::size_t i = length; i-- > 0;)
        if (Name[i] == '.') {
            lastDot = i;
            break;
        }

    std::array<bool, NameMax + 1> reached{};
    std::array<bool, NameMax + 1> next{};
    reached[0] = true;
    for (const std::uint16_t token : m_tokens) {
        bool any = false;
        switch (token) {
        case Star:
        case DosStar: {
            bool carried = false;
            for (std::size_t i = 0; i <= length; ++i) {
                carried = reached[i] || (carried && (token == Star || i - 1 != lastDot));
                next[i] = carried;
                any = any || carried;
            }
            break;
        }
        case DosQm:
            next.fill(false);
            for (std::size_t i = 0; i <= length; ++i) {
                if (!reached[i])
                    continue;
                if (i == length || Name[i] == '.')
                    next[i] = true;
                else
                    next[i + 1] = true;
                any = true;
            }
            break;
        case DosDot:
            next.fill(false);
            for (std::size_t i = 0; i <= length; ++i) {
                if (!reached[i])
                    continue;
                if (i == length)
                    next[i] = any = true;
                else if (Name[i] == '.')
                    next[i + 1] = any = true;
            }
            break;
        default:
            next[0] = false;
            for (std::size_t i = 0; i < length; ++i) {
                next[i + 1] = reached[i] && m_lower[byteAt(i)] == token;
                any = any || next[i + 1];
            }
            break;
        }
        if (!any)
            return false;
        reached.swap(next);
    }
    return reached[length];
}

} // namespace velmaro::platform
