// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DateTime.h"

#include "platform/FileTimes.h"

#include <cstdint>

namespace velmaro {

namespace {

// Days from 1 January 1970 to a Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

constexpr std::int64_t DaysFrom1899To1970 = 25'569;

} // namespace

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                         int Millisecond) {
    const auto date = static_cast<double>(
        daysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) +
        DaysFrom1899To1970);
    const double time =
        (Hour * 3'600'000.0 + Minute * 60'000.0 + Second * 1'000.0 + Millisecond) / 86'400'000.0;
    return date >= 0 ? date + time : date - time;
}

TDateTime FileTimeToLocalDateTime(platform::FileTime FileTime) {
    // Out-of-range times are clamped by the conversion, so the split below always succeeds.
    platform::FileTime local = 0;
    platform::FileTimeToLocalFileTime(FileTime, local);
    platform::SystemTime fields;
    platform::FileTimeToSystemTime(local, fields);
    return EncodeDateTime(fields.wYear, fields.wMonth, fields.wDay, fields.wHour, fields.wMinute,
                          fields.wSecond, fields.wMilliseconds);
}

} // namespace velmaro
