// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CustomCriteria.h"
#include "engine/DateTime.h"
#include "platform/FindData.h"

namespace velmaro {

// Whether the local time Value lies within one pair of inclusive bounds. Each bound is read by
// its kind: 0 is no bound; a whole number (date only) is compared with Value's date; a value
// below 1 (time only) with Value's time of day, on any date; anything else with the whole
// moment. So a date-only Before includes the whole day of the bound.
bool InTimeRange(TDateTime Value, TDateTime Before, TDateTime After);

// Bounds on an entry's creation, last write and last access times, as local TDateTime values.
// A pair whose bounds are both 0 is not applied, and its file time is not even converted. A new
// object applies none and passes every entry.
class TDateTimeCriteria : public TCustomCriteria {
public:
    TDateTimeCriteria() = default;

    const char* ClassName() const override { return "TDateTimeCriteria"; }

    // Copies the six bounds of another TDateTimeCriteria; any other source throws EConvertError.
    void Assign(const TCustomCriteria* Source) override;

    // Sets all six bounds to 0.
    void Clear() override;

    // Whether an entry with these file times (UTC, as the directory enumeration gives them)
    // passes: the creation, write and access pairs in this order, stopping at the first that
    // fails.
    bool Matches(platform::FileTime Created, platform::FileTime Modified,
                 platform::FileTime Accessed) const;

    TDateTime CreatedBefore() const { return m_createdBefore; }
    void SetCreatedBefore(TDateTime v) { m_createdBefore = v; }
    TDateTime CreatedAfter() const { return m_createdAfter; }
    void SetCreatedAfter(TDateTime v) { m_createdAfter = v; }
    TDateTime ModifiedBefore() const { return m_modifiedBefore; }
    void SetModifiedBefore(TDateTime v) { m_modifiedBefore = v; }
    TDateTime ModifiedAfter() const { return m_modifiedAfter; }
    void SetModifiedAfter(TDateTime v) { m_modifiedAfter = v; }
    TDateTime AccessedBefore() const { return m_accessedBefore; }
    void SetAccessedBefore(TDateTime v) { m_accessedBefore = v; }
    TDateTime AccessedAfter() const { return m_accessedAfter; }
    void SetAccessedAfter(TDateTime v) { m_accessedAfter = v; }

private:
    TDateTime m_createdBefore = 0;
    TDateTime m_createdAfter = 0;
    TDateTime m_modifiedBefore = 0;
    TDateTime m_modifiedAfter = 0;
    TDateTime m_accessedBefore = 0;
    TDateTime m_accessedAfter = 0;
};

} // namespace velmaro
