// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SizeCriteria.h"

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

constexpr std::int64_t GiB = std::int64_t{1} << 30;

TEST(SizeCriteria, BoundsAreInclusiveAndZeroIsNoBound) {
    struct Case {
        std::int64_t min, max, size;
        bool passes;
    } const cases[] = {
        {0, 0, 0, true},
        {0, 0, 5 * GiB, true},
        {1024, 1024, 1024, true},
        {1024, 1024, 1023, false},
        {1024, 1024, 1025, false},
        {0, 1, 0, true},
        {0, 1, 1, true},
        {0, 1, 2, false},
        {1, 0, 0, false},
        {1, 0, 1, true},
        // 64-bit sizes: 5 GiB is not truncated to its low 32 bits (1 GiB).
        {4 * GiB, 0, 5 * GiB, true},
        {0, 2 * GiB, 5 * GiB, false},
        {5 * GiB + 1, 0, 5 * GiB, false},
        // Negative bounds compare signed.
        {0, -1, 0, false},
        {0, -1, 5 * GiB, false},
        {-1, 0, 0, true},
        {-5 * GiB, 0, 1, true},
    };
    for (const Case& c : cases) {
        TSizeCriteria criteria;
        criteria.SetMin(c.min);
        criteria.SetMax(c.max);
        EXPECT_EQ(criteria.Matches(c.size), c.passes)
            << "min " << c.min << " max " << c.max << " size " << c.size;
    }
}

TEST(SizeCriteria, AssignAndClear) {
    TSizeCriteria source;
    source.SetMin(-3);
    source.SetMax(5 * GiB);
    TSizeCriteria target;
    target.Assign(&source);
    EXPECT_EQ(target.Min(), -3);
    EXPECT_EQ(target.Max(), 5 * GiB);
    target.Clear();
    EXPECT_EQ(target.Min(), 0);
    EXPECT_EQ(target.Max(), 0);
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

} // namespace
