// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FindData.h"

#include <cstdint>

namespace velmaro::platform {

// A file time split into calendar fields (the Windows SYSTEMTIME). wDayOfWeek counts from
// Sunday = 0.
struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

// The latest file time the calendar split accepts: 14 September 30828, 02:48:05.4775807. As
// on Windows, a file time is a signed count, so anything above this stands before 1601.
inline constexpr FileTime MaxSystemFileTime = 0x7FFFFFFFFFFFFFFF;

// Converts a UTC file time to local time with the offset from UTC in force at the moment of the
// call (a time zone change, TZ included, takes effect at once), also for times at which another
// offset, such as daylight-saving time, applied; this is what the Windows call does.
// Returns true with the local time in Local. When the local time would fall outside 0 to
// MaxSystemFileTime (the input read as a signed count), returns false and sets Local to the
// nearer of the two, so that a caller that does not look at the answer still gets the closest
// moment the calendar split can represent.
bool FileTimeToLocalFileTime(FileTime Utc, FileTime& Local);

// Splits a file time into calendar fields (proleptic Gregorian calendar, from 1 January 1601).
// Returns false, leaving Fields unchanged, for a time above MaxSystemFileTime.
bool FileTimeToSystemTime(FileTime Time, SystemTime& Fields);

} // namespace velmaro::platform
