// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileTimes.h"

#include "support/TimeZoneFixture.h"

#include <gtest/gtest.h>

using namespace velmaro::platform;

namespace {

constexpr FileTime TicksPerSecond = 10'000'000;
constexpr FileTime TicksPerHour = 3'600 * TicksPerSecond;
// 2008-03-15 00:00:00 UTC as a file time.
constexpr FileTime March15th2008 = (1'205'539'200ull + 11'644'473'600ull) * TicksPerSecond;

TEST(FileTimes, CalendarSplit) {
    struct Case {
        FileTime time;
        SystemTime fields;
    } const cases[] = {
        {0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {March15th2008 + 23 * TicksPerHour + 59 * 60 * TicksPerSecond + 59 * TicksPerSecond +
             9'990'000,
         {2008, 3, 6, 15, 23, 59, 59, 999}},
        {(951'782'400ull + 11'644'473'600ull) * TicksPerSecond, {2000, 2, 2, 29, 0, 0, 0, 0}},
        {MaxSystemFileTime, {30828, 9, 4, 14, 2, 48, 5, 477}},
    };
    for (const Case& c : cases) {
        SystemTime st;
        ASSERT_TRUE(FileTimeToSystemTime(c.time, st)) << c.time;
        const SystemTime& e = c.fields;
        EXPECT_EQ(st.wYear, e.wYear);
        EXPECT_EQ(st.wMonth, e.wMonth);
        EXPECT_EQ(st.wDayOfWeek, e.wDayOfWeek) << c.time;
        EXPECT_EQ(st.wDay, e.wDay);
        EXPECT_EQ(st.wHour, e.wHour);
        EXPECT_EQ(st.wMinute, e.wMinute);
        EXPECT_EQ(st.wSecond, e.wSecond);
        EXPECT_EQ(st.wMilliseconds, e.wMilliseconds);
    }
}

TEST(FileTimes, SplitRefusesTimesBeyondTheCalendar) {
    SystemTime st;
    st.wYear = 7;
    EXPECT_FALSE(FileTimeToSystemTime(MaxSystemFileTime + 1, st));
    EXPECT_FALSE(FileTimeToSystemTime(~FileTime{0}, st));
    EXPECT_EQ(st.wYear, 7);
}

class LocalFileTime : public velmaro::testing::TimeZoneFixture {};

TEST_F(LocalFileTime, AppliesTheFixedOffsetOfTheZone) {
    struct Case {
        const char* tz;
        std::int64_t hoursEast;
    } const cases[] = {{"UTC0", 0}, {"<-05>5", -5}, {"<+03>-3", 3}};
    for (const Case& c : cases) {
        useTimeZone(c.tz);
        FileTime local = 0;
        ASSERT_TRUE(FileTimeToLocalFileTime(March15th2008, local)) << c.tz;
        EXPECT_EQ(static_cast<std::int64_t>(local - March15th2008),
                  c.hoursEast * static_cast<std::int64_t>(TicksPerHour))
            << c.tz;
    }
}

TEST_F(LocalFileTime, UsesTheOffsetInForceNowForEveryDate) {
    // Summer and winter times get the same shift, whichever of the two is in force today.
    useTimeZone("EST5EDT,M3.2.0,M11.1.0");
    const FileTime january = March15th2008 - 60 * 24 * TicksPerHour;
    const FileTime july = March15th2008 + 120 * 24 * TicksPerHour;
    FileTime localJanuary = 0, localJuly = 0;
    ASSERT_TRUE(FileTimeToLocalFileTime(january, localJanuary));
    ASSERT_TRUE(FileTimeToLocalFileTime(july, localJuly));
    EXPECT_EQ(localJuly - localJanuary, july - january);
    const auto shift = static_cast<std::int64_t>(localJanuary - january);
    EXPECT_TRUE(shift == -5 * static_cast<std::int64_t>(TicksPerHour) ||
                shift == -4 * static_cast<std::int64_t>(TicksPerHour))
        << shift;
}

TEST_F(LocalFileTime, ClampsTimesTheCalendarCannotHold) {
    FileTime local = 1;
    useTimeZone("<-05>5");
    EXPECT_FALSE(FileTimeToLocalFileTime(0, local));
    EXPECT_EQ(local, 0u);
    // A count above the largest signed value stands before 1601.
    EXPECT_FALSE(FileTimeToLocalFileTime(~FileTime{0}, local));
    EXPECT_EQ(local, 0u);

    useTimeZone("<+03>-3");
    EXPECT_FALSE(FileTimeToLocalFileTime(MaxSystemFileTime, local));
    EXPECT_EQ(local, MaxSystemFileTime);
    ASSERT_TRUE(FileTimeToLocalFileTime(0, local));
    EXPECT_EQ(local, 3 * TicksPerHour);
}

} // namespace
