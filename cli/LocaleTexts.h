// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>

namespace velmaro {

// The parts of the report that follow the user's locale, as the C library formats them in its
// current locale (setlocale(LC_ALL, "") made it the user's), converted from the locale's
// character set (the system's code page) to UTF-8. Under a Russian locale they read as the
// window's. Call them on one thread at a time; nothing may change the locale meanwhile.

// The date of Moment in local time in the locale's date format (strftime's "%x").
std::string LocaleDate(std::time_t Moment);

// What the locale writes between hours and minutes (":" where its time format shows none).
std::string LocaleTimeSeparator();

// The locale's decimal separator.
std::string LocaleDecimalSeparator();

} // namespace velmaro
