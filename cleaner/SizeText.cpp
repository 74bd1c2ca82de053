// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/SizeText.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <system_error>

namespace velmaro {

namespace {

constexpr double UnitStepThreshold = 1000;
constexpr double UnitDivisor = 1024;
constexpr int SizeDecimalsFactor = 100;
constexpr int GeneralFormatDigits = 15;

} // namespace

double RoundToFactor(int Factor, double Value) {
    const double integral = std::trunc(Value);
    const double s = (Value - integral) * Factor;
    double w = std::trunc(s);
    const double f = s - w;
    if (f >= 0.5)
        w += 1;
    if (f <= -0.5)
        w -= 1;
    return integral + w / Factor;
}

std::string SizeToText(double Value, std::string_view DecimalSeparator) {
    const char* unit = "b";
    for (const char* next : {"Kb", "Mb", "Gb"}) {
        if (Value > UnitStepThreshold) {
            unit = next;
            Value /= UnitDivisor;
        }
    }
    // The general format with 15 significant digits: no trailing zeros, no separator for a
    // whole number. std::to_chars ignores the C library's locale, so the separator is always
    // the one given.
    char digits[64];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, RoundToFactor(SizeDecimalsFactor, Value),
                      std::chars_format::general, GeneralFormatDigits);
    std::string text;
    if (error == std::errc()) {
        for (const char* c = digits; c != end; ++c) {
            if (*c == '.')
                text.append(DecimalSeparator);
            else
                text.push_back(*c);
        }
    }
    return text.append(" ").append(unit);
}

} // namespace velmaro
