// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AttributesCriteria.h"

namespace velmaro {

std::uint32_t TAttributesCriteria::bitOf(int index) {
    // An index outside 1 to 32 names no bit of the attribute word.
    return index >= 1 && index <= 32 ? std::uint32_t{1} << (index - 1) : 0;
}

void TAttributesCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TAttributesCriteria*>(Source);
    if (!source) {
        TCustomCriteria::Assign(Source);
        return;
    }
    m_setMask = source->m_setMask;
    m_unsetMask = source->m_unsetMask;
    m_anySetMask = source->m_anySetMask;
    m_anyUnsetMask = source->m_anyUnsetMask;
}

void TAttributesCriteria::Clear() {
    m_setMask = 0;
    m_unsetMask = 0;
    m_anySetMask = 0;
    m_anyUnsetMask = 0;
}

bool TAttributesCriteria::Matches(std::uint32_t Attributes) const {
    if ((Attributes & m_setMask) != m_setMask)
        return false;
    if ((~Attributes & m_unsetMask) != m_unsetMask)
        return false;
    if (m_anySetMask != 0 && (Attributes & m_anySetMask) == 0)
        return false;
    if (m_anyUnsetMask != 0 && (~Attributes & m_anyUnsetMask) == 0)
        return false;
    return true;
}

TFileAttributeStatus TAttributesCriteria::Get(int Index) const {
    const std::uint32_t bit = bitOf(Index);
    if (bit == 0)
        return fsIgnore;
    if (m_setMask & bit)
        return fsSet;
    if (m_unsetMask & bit)
        return fsUnset;
    if (m_anySetMask & bit)
        return fsAnySet;
    if (m_anyUnsetMask & bit)
        return fsAnyUnset;
    return fsIgnore;
}

void TAttributesCriteria::Set(int Index, TFileAttributeStatus Value) {
    const std::uint32_t bit = bitOf(Index);
    m_setMask &= ~bit;
    m_unsetMask &= ~bit;
    m_anySetMask &= ~bit;
    m_anyUnsetMask &= ~bit;
    switch (Value) {
    case fsSet:
        m_setMask |= bit;
        break;
    case fsUnset:
        m_unsetMask |= bit;
        break;
    case fsAnySet:
        m_anySetMask |= bit;
        break;
    case fsAnyUnset:
        m_anyUnsetMask |= bit;
        break;
    default:
        break;
    }
}

} // namespace velmaro
