// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StringList.h"

#include <algorithm>
#include <stdexcept>

namespace velmaro {

void TStringList::SetItems(int Index, std::string_view Value) {
    std::string& item = m_items[position(Index, Count())];
    if (item == Value)
        return;
    item.assign(Value);
    changed();
}

int TStringList::Add(std::string_view Value) {
    m_items.emplace_back(Value);
    changed();
    return Count() - 1;
}

void TStringList::Insert(int Index, std::string_view Value) {
    m_items.emplace(m_items.begin() + static_cast<std::ptrdiff_t>(position(Index, Count() + 1)),
                    Value);
    changed();
}

void TStringList::Delete(int Index) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(position(Index, Count())));
    changed();
}

void TStringList::Clear() {
    if (m_items.empty())
        return;
    m_items.clear();
    changed();
}

void TStringList::Assign(const TStringList& Source) {
    if (&Source == this || m_items == Source.m_items)
        return;
    m_items = Source.m_items;
    changed();
}

int TStringList::IndexOf(std::string_view Value) const {
    const auto found = std::find(m_items.begin(), m_items.end(), Value);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

std::size_t TStringList::position(int Index, int Limit) {
    if (Index < 0 || Index >= Limit)
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return static_cast<std::size_t>(Index);
}

void TStringList::changed() const {
    if (OnChange)
        OnChange();
}

} // namespace velmaro
