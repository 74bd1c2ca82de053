// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TimeArgument.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <string>

namespace velmaro {

namespace {

// Reads exactly Digits decimal digits at the front of Text and removes them.
std::optional<int> takeDigits(std::string_view& text, std::size_t digits) {
    if (text.size() < digits)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return value;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// "YYYY-MM-DD" as whole days since 30 December 1899.
std::optional<double> parseDate(std::string_view& text) {
    const auto year = takeDigits(text, 4);
    if (!year || !takeChar(text, '-'))
        return std::nullopt;
    const auto month = takeDigits(text, 2);
    if (!month || !takeChar(text, '-'))
        return std::nullopt;
    const auto day = takeDigits(text, 2);
    if (!day)
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{*year}, std::chrono::month{unsigned(*month)},
                              std::chrono::day{unsigned(*day)}};
    if (!date.ok())
        return std::nullopt;
    constexpr sys_days epoch = 1899y / December / 30;
    return static_cast<double>((sys_days{date} - epoch).count());
}

// "HH:MM[:SS[.mmm]]" as the fraction of a day.
std::optional<double> parseTime(std::string_view& text) {
    const auto hour = takeDigits(text, 2);
    if (!hour || !takeChar(text, ':'))
        return std::nullopt;
    const auto minute = takeDigits(text, 2);
    if (!minute || *hour > 23 || *minute > 59)
        return std::nullopt;
    int second = 0;
    int millisecond = 0;
    if (takeChar(text, ':')) {
        const auto s = takeDigits(text, 2);
        if (!s || *s > 59)
            return std::nullopt;
        second = *s;
        if (takeChar(text, '.')) {
            const auto ms = takeDigits(text, 3);
            if (!ms)
                return std::nullopt;
            millisecond = *ms;
        }
    }
    const double milliseconds =
        *hour * 3600000.0 + *minute * 60000.0 + second * 1000.0 + millisecond;
    return milliseconds / 86400000.0;
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<TDateTime> ParseTimeArgument(std::string_view Text) {
    if (Text.size() >= 3 && Text[2] == ':') {
        auto rest = Text;
        const auto time = parseTime(rest);
        return time && rest.empty() ? time : std::nullopt;
    }
    if (Text.size() >= 5 && Text[4] == '-') {
        auto rest = Text;
        const auto date = parseDate(rest);
        if (!date)
            return std::nullopt;
        if (rest.empty())
            return date;
        if (!takeChar(rest, 'T'))
            return std::nullopt;
        const auto time = parseTime(rest);
        if (!time || !rest.empty())
            return std::nullopt;
        // Before 30 December 1899 the fraction counts away from zero, as TDateTime keeps it.
        return *date >= 0 ? *date + *time : *date - *time;
    }
    return parseNumber(Text);
}

} // namespace velmaro
