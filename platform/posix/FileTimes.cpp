// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileTimes.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>

namespace velmaro::platform {

namespace {

constexpr std::int64_t TicksPerMillisecond = 10'000;
constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t TicksPerDay = 86'400 * TicksPerSecond;
constexpr std::int64_t DaysFrom1601To1970 = 134'774;

// The offset of local time from UTC in force now, in seconds east of UTC.
//
// A walk converts the times of every reported file, and tzset() stats /etc/localtime each
// time it runs, so the offset is worked out at most once per second and per TZ value: offsets
// change only on whole seconds, and a changed TZ still counts at once.
long currentUtcOffset() {
    static std::mutex mutex;
    static std::time_t cachedSecond = -1;
    static std::string cachedZone;
    static long cachedOffset = 0;

    const std::time_t now = std::time(nullptr);
    const char* zone = std::getenv("TZ");
    const std::string_view zoneText = zone ? std::string_view(zone) : std::string_view("\0", 1);
    std::lock_guard lock(mutex);
    if (now == cachedSecond && zoneText == cachedZone)
        return cachedOffset;
    // localtime_r does not look at TZ again by itself; tzset makes a changed zone count.
    tzset();
    std::tm local{};
    cachedOffset = localtime_r(&now, &local) ? local.tm_gmtoff : 0;
    cachedSecond = now;
    cachedZone.assign(zoneText);
    return cachedOffset;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// The Gregorian date of a day counted from 1 January 1970 (H. Hinnant's civil_from_days).
CivilDate civilFromDays(std::int64_t days) {
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
    return {year, month, day};
}

} // namespace

bool FileTimeToLocalFileTime(FileTime Utc, FileTime& Local) {
    const auto utc = static_cast<std::int64_t>(Utc);
    const std::int64_t offset = static_cast<std::int64_t>(currentUtcOffset()) * TicksPerSecond;
    std::int64_t local = 0;
    if (__builtin_add_overflow(utc, offset, &local)) {
        Local = offset > 0 ? MaxSystemFileTime : 0;
        return false;
    }
    if (local < 0) {
        Local = 0;
        return false;
    }
    Local = static_cast<FileTime>(local);
    return true;
}

bool FileTimeToSystemTime(FileTime Time, SystemTime& Fields) {
    if (Time > MaxSystemFileTime)
        return false;
    const auto ticks = static_cast<std::int64_t>(Time);
    const std::int64_t days = ticks / TicksPerDay;
    const std::int64_t milliseconds = ticks % TicksPerDay / TicksPerMillisecond;
    const CivilDate date = civilFromDays(days - DaysFrom1601To1970);
    Fields.wYear = static_cast<std::uint16_t>(date.year);
    Fields.wMonth = static_cast<std::uint16_t>(date.month);
    Fields.wDay = static_cast<std::uint16_t>(date.day);
    // 1 January 1601 was a Monday.
    Fields.wDayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);
    Fields.wHour = static_cast<std::uint16_t>(milliseconds / 3'600'000);
    Fields.wMinute = static_cast<std::uint16_t>(milliseconds / 60'000 % 60);
    Fields.wSecond = static_cast<std::uint16_t>(milliseconds / 1'000 % 60);
    Fields.wMilliseconds = static_cast<std::uint16_t>(milliseconds % 1'000);
    return true;
}

} // namespace velmaro::platform
