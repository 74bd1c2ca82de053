// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/DateTimeText.h"

#include "cleaner/SearchSummary.h"

#include <QDateTime>
#include <cmath>

namespace velmaro {

namespace {

constexpr qint64 msPerDay = 86400000;
const QDate dayZero(1899, 12, 30);

// Removes the time-zone fields ("t" runs outside quotes) and the blanks that led up to them.
QString withoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (result.endsWith(u' '))
                result.chop(1);
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

bool isHourLetter(QChar c) {
    return c == u'h' || c == u'H';
}

// The character right after the first run of hour letters; ":" when the format has none there.
QString separatorOf(const QString& format) {
    qsizetype i = 0;
    while (i < format.size() && !isHourLetter(format[i]))
        ++i;
    while (i < format.size() && isHourLetter(format[i]))
        ++i;
    if (i < format.size() && !format[i].isLetter() && format[i] != u'\'')
        return QString(format[i]);
    return QStringLiteral(":");
}

} // namespace

DateTimeText::DateTimeText(const QLocale& Locale)
    : m_locale(Locale), m_shortDate(Locale.dateFormat(QLocale::ShortFormat)),
      m_longTime(withoutTimeZone(Locale.timeFormat(QLocale::LongFormat))),
      m_timeSeparator(separatorOf(Locale.timeFormat(QLocale::ShortFormat))) {}

QString DateTimeText::dateTime(TDateTime Value) const {
    const QDateTime moment = ToQDateTime(Value);
    const QTime time = moment.time();
    QString text = m_locale.toString(moment.date(), m_shortDate);
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += u' ' + m_locale.toString(time, m_longTime);
    return text;
}

QString DateTimeText::duration(qint64 Milliseconds) const {
    return QString::fromStdString(DurationText(Milliseconds, m_timeSeparator.toStdString()));
}

TDateTime Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(dayZero.daysTo(now.date())) +
           static_cast<double>(now.time().msecsSinceStartOfDay()) / msPerDay;
}

QDateTime ToQDateTime(TDateTime Value) {
    // The integer part counts days (negative before the day zero), the fraction's magnitude is
    // the time of day, rounded to the millisecond as the date-time routines of Windows do.
    double days = 0;
    const double fraction = std::fabs(std::modf(Value, &days));
    qint64 time = std::llround(fraction * msPerDay);
    if (time >= msPerDay)
        time = msPerDay - 1;
    return QDateTime(dayZero.addDays(static_cast<qint64>(days)),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(time)));
}

} // namespace velmaro
