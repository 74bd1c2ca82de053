// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LocaleTexts.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <clocale>
#include <string_view>

namespace velmaro {

namespace {

std::string utf8(std::string_view codePageText) {
    const platform::CodePage& codePage = platform::CodePage::system();
    if (codePage.isUtf8())
        return std::string(codePageText);
    return platform::Utf16ToUtf8(codePage.toUtf16(codePageText));
}

std::string formatted(const char* format, const std::tm& moment) {
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format, &moment);
    return std::string(text, length);
}

} // namespace

std::string LocaleDate(std::time_t Moment) {
    std::tm local{};
    if (!localtime_r(&Moment, &local))
        return {};
    return utf8(formatted("%x", local));
}

std::string LocaleTimeSeparator() {
    // The locale's time of 11:22:33 shows the separator between its "11" and its "22", in a
    // 12-hour format too.
    std::tm moment{};
    moment.tm_hour = 11;
    moment.tm_min = 22;
    moment.tm_sec = 33;
    const std::string time = formatted("%X", moment);
    const std::size_t hours = time.find("11");
    const std::size_t minutes = time.find("22");
    if (hours == std::string::npos || minutes == std::string::npos || minutes <= hours + 2)
        return ":";
    return utf8(std::string_view(time).substr(hours + 2, minutes - hours - 2));
}

std::string LocaleDecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    const char* point = conventions ? conventions->decimal_point : nullptr;
    return point && *point ? utf8(point) : ".";
}

} // namespace velmaro
