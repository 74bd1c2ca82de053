#include "workflow/SizeText.h"

#include <QLocale>
#include <cmath>

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

QString SizeToText(double Value) {
    const char* unit = "b";
    for (const char* next : {"Kb", "Mb", "Gb"}) {
        if (Value > UnitStepThreshold) {
            unit = next;
            Value /= UnitDivisor;
        }
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString number =
        locale.toString(RoundToFactor(SizeDecimalsFactor, Value), 'g', GeneralFormatDigits);
    return number + QLatin1Char(' ') + QLatin1String(unit);
}

} // namespace velmaro
