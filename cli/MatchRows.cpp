// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MatchRows.h"

namespace velmaro {

void MatchRows::add(const TFileDetails& Match) {
    if (m_paths.insert(Match.Location + Match.Name).second)
        m_rows.push_back({Match.Location, Match.Name, Match.Size, Match.Identity});
}

int MatchRows::Count() const {
    return static_cast<int>(m_rows.size() - m_first);
}

std::string MatchRows::folder(int row) const {
    return at(row).folder;
}

std::string MatchRows::name(int row) const {
    return at(row).name;
}

std::int64_t MatchRows::size(int row) const {
    return at(row).size;
}

platform::FileIdentity MatchRows::identity(int row) const {
    return at(row).identity;
}

void MatchRows::removeRow(int row) {
    if (row == 0)
        ++m_first;
    else
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(m_first) + row);
}

} // namespace velmaro
