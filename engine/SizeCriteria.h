// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CustomCriteria.h"

#include <cstdint>

namespace velmaro {

// Bounds on an entry's size in bytes, both inclusive; a bound of 0 is not applied. A new
// object applies neither and passes every entry.
class TSizeCriteria : public TCustomCriteria {
public:
    TSizeCriteria() = default;

    const char* ClassName() const override { return "TSizeCriteria"; }

    // Copies Min and Max of another TSizeCriteria; any other source throws EConvertError.
    void Assign(const TCustomCriteria* Source) override;

    // Sets both bounds to 0.
    void Clear() override;

    // Whether an entry of this size passes: not below a non-zero Min, not above a non-zero Max.
    // The comparisons are signed, so a negative Max rejects every entry.
    bool Matches(std::int64_t Size) const;

    std::int64_t Min() const { return m_min; }
    void SetMin(std::int64_t v) { m_min = v; }
    std::int64_t Max() const { return m_max; }
    void SetMax(std::int64_t v) { m_max = v; }

private:
    std::int64_t m_min = 0;
    std::int64_t m_max = 0;
};

} // namespace velmaro
