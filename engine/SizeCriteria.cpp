// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SizeCriteria.h"

namespace velmaro {

void TSizeCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TSizeCriteria*>(Source);
    if (!source) {
        TCustomCriteria::Assign(Source);
        return;
    }
    m_min = source->m_min;
    m_max = source->m_max;
}

void TSizeCriteria::Clear() {
    m_min = 0;
    m_max = 0;
}

bool TSizeCriteria::Matches(std::int64_t Size) const {
    if (m_min != 0 && Size < m_min)
        return false;
    if (m_max != 0 && Size > m_max)
        return false;
    return true;
}

} // namespace velmaro
