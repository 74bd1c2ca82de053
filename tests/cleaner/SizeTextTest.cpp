// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/SizeText.h"

#include <gtest/gtest.h>

using velmaro::RoundToFactor;
using velmaro::SizeToText;

namespace {

TEST(SizeTextTest, PicksTheUnitAboveAThousandAndWritesTheGivenSeparator) {
    const struct {
        double bytes;
        const char* dot;
        const char* comma;
    } rows[] = {
        {0, "0 b", "0 b"},
        {1000, "1000 b", "1000 b"},
        {1001, "0.98 Kb", "0,98 Kb"},
        {1023, "1 Kb", "1 Kb"},
        {1536, "1.5 Kb", "1,5 Kb"},
        {1000.0 * 1024 - 1, "1000 Kb", "1000 Kb"},
        {1000.0 * 1024, "1000 Kb", "1000 Kb"},
        {1001.0 * 1024, "0.98 Mb", "0,98 Mb"},
        {1048576, "1 Mb", "1 Mb"},
        {123456789, "117.74 Mb", "117,74 Mb"},
        {5.0 * 1099511627776.0, "5120 Gb", "5120 Gb"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SizeToText(row.bytes, "."), row.dot) << row.bytes;
        EXPECT_EQ(SizeToText(row.bytes, ","), row.comma) << row.bytes;
    }
    // A separator of several bytes (a locale's, in UTF-8) stands whole.
    EXPECT_EQ(SizeToText(1536, "\xD9\xAB"), "1\xD9\xAB"
                                            "5 Kb");
}

TEST(SizeTextTest, RoundsHalvesAwayFromZeroOnTheStoredValue) {
    const struct {
        double value;
        double rounded;
    } rows[] = {
        {-2.345, -2.35}, {-2.5, -2.5}, {2.345, 2.35}, {2.005, 2.0}, {-0.125, -0.13},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RoundToFactor(100, row.value), row.rounded) << row.value;
}

} // namespace
