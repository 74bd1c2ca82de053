// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DateTimeCriteria.h"

#include <cmath>

namespace velmaro {

namespace {

bool pairPasses(platform::FileTime time, TDateTime before, TDateTime after) {
    if (before == 0 && after == 0)
        return true;
    return InTimeRange(FileTimeToLocalDateTime(time), before, after);
}

} // namespace

bool InTimeRange(TDateTime Value, TDateTime Before, TDateTime After) {
    const double valueDate = std::trunc(Value);
    const double valueTime = Value - valueDate;
    bool result = true;
    if (Before != 0) {
        if (Before - std::trunc(Before) == 0)
            result = valueDate <= Before;
        else if (std::trunc(Before) == 0)
            result = valueTime <= Before;
        else
            result = Value <= Before;
    }
    if (After != 0) {
        if (After - std::trunc(After) == 0)
            result = result && valueDate >= After;
        else if (std::trunc(After) == 0)
            result = result && valueTime >= After;
        else
            result = result && Value >= After;
    }
    return result;
}

void TDateTimeCriteria::Assign(const TCustomCriteria* Source) {
    const auto* source = dynamic_cast<const TDateTimeCriteria*>(Source);
    if (!source) {
        TCustomCriteria::Assign(Source);
        return;
    }
    m_createdBefore = source->m_createdBefore;
    m_createdAfter = source->m_createdAfter;
    m_modifiedBefore = source->m_modifiedBefore;
    m_modifiedAfter = source->m_modifiedAfter;
    m_accessedBefore = source->m_accessedBefore;
    m_accessedAfter = source->m_accessedAfter;
}

void TDateTimeCriteria::Clear() {
    m_createdBefore = 0;
    m_createdAfter = 0;
    m_modifiedBefore = 0;
    m_modifiedAfter = 0;
    m_accessedBefore = 0;
    m_accessedAfter = 0;
}

bool TDateTimeCriteria::Matches(platform::FileTime Created, platform::FileTime Modified,
                                platform::FileTime Accessed) const {
    return pairPasses(Created, m_createdBefore, m_createdAfter) &&
           pairPasses(Modified, m_modifiedBefore, m_modifiedAfter) &&
           pairPasses(Accessed, m_accessedBefore, m_accessedAfter);
}

} // namespace velmaro
