// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DateTime.h"

#include "support/TimeZoneFixture.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::platform::FileTime;

namespace {

constexpr FileTime TicksPerSecond = 10'000'000;
constexpr FileTime TicksPerHour = 3'600 * TicksPerSecond;
constexpr FileTime March15th2008 = (1'205'539'200ull + 11'644'473'600ull) * TicksPerSecond;

TEST(DateTime, EncodeCountsDaysFrom30December1899) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDateTime(2008, 3, 15, 12), 39522.5);
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(EncodeDateTime(1601, 1, 1), -109205.0);
}

class FileTimeToLocal : public velmaro::testing::TimeZoneFixture {};

TEST_F(FileTimeToLocal, ShiftsByTheZoneAndKeepsMilliseconds) {
    useTimeZone("UTC0");
    EXPECT_EQ(FileTimeToLocalDateTime(March15th2008 + 12 * TicksPerHour), 39522.5);
    EXPECT_EQ(FileTimeToLocalDateTime(March15th2008 + 12 * TicksPerHour + 10'000),
              EncodeDateTime(2008, 3, 15, 12, 0, 0, 1));
    // Below a millisecond is dropped.
    EXPECT_EQ(FileTimeToLocalDateTime(March15th2008 + 9'999), 39522.0);
    useTimeZone("<+03>-3");
    EXPECT_EQ(FileTimeToLocalDateTime(March15th2008 + 21 * TicksPerHour), 39523.0);
}

TEST_F(FileTimeToLocal, TimesOutsideTheCalendarClampToItsEnds) {
    useTimeZone("<-05>5");
    const TDateTime first = EncodeDateTime(1601, 1, 1);
    EXPECT_EQ(FileTimeToLocalDateTime(0), first);
    EXPECT_EQ(FileTimeToLocalDateTime(4 * TicksPerHour), first);
    EXPECT_EQ(FileTimeToLocalDateTime(~FileTime{0}), first);
    EXPECT_EQ(FileTimeToLocalDateTime(6 * TicksPerHour), -109205.0 - 1.0 / 24);
    useTimeZone("<+03>-3");
    EXPECT_EQ(FileTimeToLocalDateTime(~FileTime{0} >> 1),
              EncodeDateTime(30828, 9, 14, 2, 48, 5, 477));
}

} // namespace
