// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DateTime.h"

#include <QLocale>
#include <QString>
#include <QtGlobal>

class QDateTime;

namespace velmaro {

// Local date and time texts in the formats of a locale (the default QLocale unless given).
class DateTimeText {
public:
    explicit DateTimeText(const QLocale& Locale = QLocale());

    // Value as the short date, a blank and the long time; the date alone when hours, minutes
    // and seconds are all zero.
    QString dateTime(TDateTime Value) const;

    // A duration in milliseconds as "n:ss.zzz": minutes of the hour without leading zero, the
    // locale's time separator, seconds as two digits, ".", milliseconds as three digits. Whole
    // hours are not shown; a negative duration counts as 0.
    QString duration(qint64 Milliseconds) const;

    // The locale's long time format without any time-zone part.
    const QString& longTimeFormat() const { return m_longTime; }
    // The character the locale puts between hours and minutes.
    const QString& timeSeparator() const { return m_timeSeparator; }

private:
    QLocale m_locale;
    QString m_shortDate;
    QString m_longTime;
    QString m_timeSeparator;
};

// The current local date and time as a TDateTime.
TDateTime Now();

// The calendar date and time of day a TDateTime stands for, to the millisecond, as a local
// QDateTime.
QDateTime ToQDateTime(TDateTime Value);

} // namespace velmaro
