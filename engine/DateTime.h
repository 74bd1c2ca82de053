// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FindData.h"

namespace velmaro {

// A moment in local time: the integer part counts days from 30 December 1899, the fraction is
// the time of day (0.5 is noon). Before 30 December 1899 the value is the negative day count
// minus the time of day, so -1.25 is 29 December 1899, 06:00.
using TDateTime = double;

// The TDateTime of a calendar date and time of day (proleptic Gregorian calendar). No range
// checks: the caller passes a valid date and time.
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour = 0, int Minute = 0, int Second = 0,
                         int Millisecond = 0);

// A file time (UTC, 100 ns since 1601) as a local TDateTime, shifted by the offset from UTC in
// force now (see platform::FileTimeToLocalFileTime), to the millisecond. A file time whose local
// time falls before 1 January 1601 00:00 gives that moment; one beyond the calendar's end (year
// 30828) gives the calendar's last millisecond. So every file time yields a valid moment and
// the order of moments is kept.
TDateTime FileTimeToLocalDateTime(platform::FileTime FileTime);

} // namespace velmaro
