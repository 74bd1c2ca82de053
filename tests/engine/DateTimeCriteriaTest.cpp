// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DateTimeCriteria.h"

#include "support/TimeZoneFixture.h"

#include <gtest/gtest.h>

using namespace velmaro;
using velmaro::platform::FileTime;

namespace {

TDateTime at(int day, int hour, int minute = 0, int second = 0, int ms = 0) {
    return EncodeDateTime(2008, 3, day, hour, minute, second, ms);
}

const TDateTime March15 = EncodeDateTime(2008, 3, 15);
const TDateTime Noon = 0.5;

TEST(InTimeRange, BoundKinds) {
    struct Case {
        const char* what;
        TDateTime before, after, value;
        bool inRange;
    } const cases[] = {
        {"no bounds", 0, 0, at(15, 13), true},
        {"date-only before keeps its whole day", March15, 0, at(15, 23, 59, 59, 999), true},
        {"date-only before ends with its day", March15, 0, at(16, 0), false},
        {"date-only after starts at midnight", 0, March15, at(15, 0), true},
        {"date-only after excludes the day before", 0, March15, at(14, 23, 59, 59, 999), false},
        {"midnight bound is date-only", at(15, 0), 0, at(15, 18), true},
        {"time-only before at noon", Noon, 0, at(3, 12), true},
        {"time-only before, a millisecond late", Noon, 0, at(3, 12, 0, 0, 1), false},
        {"time-only after at noon", 0, Noon, at(20, 12), true},
        {"time-only after, morning", 0, Noon, at(20, 11, 59, 59, 999), false},
        {"window across midnight, late", 0.25, 0.75, at(15, 23), false},
        {"window across midnight, early", 0.25, 0.75, at(15, 1), false},
        {"full moment before", at(15, 12), 0, at(15, 12), true},
        {"full moment before, a second late", at(15, 12), 0, at(15, 12, 0, 1), false},
        {"full moment after", 0, at(15, 12), at(15, 12, 0, 1), true},
        {"date before with time after, afternoon", March15, Noon, at(10, 15), true},
        {"date before with time after, morning", March15, Noon, at(10, 9), false},
        {"date before with time after, next day", March15, Noon, at(16, 15), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InTimeRange(c.value, c.before, c.after), c.inRange) << c.what;
}

class DateTimeCriteriaTest : public velmaro::testing::TimeZoneFixture {
protected:
    void SetUp() override {
        TimeZoneFixture::SetUp();
        useTimeZone("UTC0");
    }

    // The file time of a moment of March 2008 in UTC.
    static FileTime fileTime(int day, int hour, int minute = 0) {
        const FileTime march1st = (1'204'329'600ull + 11'644'473'600ull) * 10'000'000;
        return march1st + ((day - 1) * 86'400ull + hour * 3'600ull + minute * 60ull) * 10'000'000;
    }
};

TEST_F(DateTimeCriteriaTest, NoBoundsPassEveryEntry) {
    TDateTimeCriteria criteria;
    EXPECT_TRUE(criteria.Matches(0, ~FileTime{0}, fileTime(15, 12)));
}

TEST_F(DateTimeCriteriaTest, EachPairTestsItsOwnTime) {
    const FileTime early = fileTime(10, 12), late = fileTime(20, 12);
    TDateTimeCriteria created, modified, accessed;
    created.SetCreatedBefore(March15);
    modified.SetModifiedBefore(March15);
    accessed.SetAccessedAfter(March15);
    // (created, modified, accessed)
    EXPECT_TRUE(created.Matches(early, late, late));
    EXPECT_FALSE(created.Matches(late, early, early));
    EXPECT_TRUE(modified.Matches(late, early, late));
    EXPECT_FALSE(modified.Matches(early, late, early));
    EXPECT_TRUE(accessed.Matches(early, early, late));
    EXPECT_FALSE(accessed.Matches(late, late, early));
}

TEST_F(DateTimeCriteriaTest, LocalTimeDecidesTheDay) {
    TDateTimeCriteria criteria;
    criteria.SetModifiedBefore(March15);
    const FileTime lateOn15th = fileTime(15, 22);
    EXPECT_TRUE(criteria.Matches(0, lateOn15th, 0));
    useTimeZone("<+03>-3"); // 22:00 UTC is 01:00 on the 16th
    EXPECT_FALSE(criteria.Matches(0, lateOn15th, 0));
}

TEST_F(DateTimeCriteriaTest, AssignAndClear) {
    TDateTimeCriteria source;
    source.SetCreatedBefore(1);
    source.SetCreatedAfter(2);
    source.SetModifiedBefore(3);
    source.SetModifiedAfter(4);
    source.SetAccessedBefore(5);
    source.SetAccessedAfter(6);
    TDateTimeCriteria target;
    target.Assign(&source);
    EXPECT_EQ(target.CreatedBefore(), 1);
    EXPECT_EQ(target.CreatedAfter(), 2);
    EXPECT_EQ(target.ModifiedBefore(), 3);
    EXPECT_EQ(target.ModifiedAfter(), 4);
    EXPECT_EQ(target.AccessedBefore(), 5);
    EXPECT_EQ(target.AccessedAfter(), 6);
    target.Clear();
    for (TDateTime v : {target.CreatedBefore(), target.CreatedAfter(), target.ModifiedBefore(),
                        target.ModifiedAfter(), target.AccessedBefore(), target.AccessedAfter()})
        EXPECT_EQ(v, 0);
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

} // namespace
