// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/DateTimeText.h"

#include <QDateTime>
#include <QTest>

using velmaro::DateTimeText;
using velmaro::EncodeDateTime;
using velmaro::TDateTime;
using velmaro::ToQDateTime;

namespace {

constexpr qint64 hour = 3600000;
constexpr qint64 minute = 60000;

QLocale locale(const char* name) {
    return QLocale(QString::fromLatin1(name));
}

} // namespace

class DateTimeTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void duration_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<qint64>("milliseconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("hours dropped")
            << locale("en_US") << (hour + 2 * minute + 3500) << QStringLiteral("2:03.500");
        QTest::newRow("zero") << locale("ru_RU") << qint64(0) << QStringLiteral("0:00.000");
        QTest::newRow("59:59.999") << locale("ru_RU") << (hour - 1) << QStringLiteral("59:59.999");
        QTest::newRow("locale's separator")
            << locale("fi_FI") << (12 * minute + 7) << QStringLiteral("12.00.007");
        QTest::newRow("negative") << locale("en_US") << qint64(-5) << QStringLiteral("0:00.000");
    }
    void duration() {
        QFETCH(QLocale, locale);
        QFETCH(qint64, milliseconds);
        QFETCH(QString, text);
        QCOMPARE(DateTimeText(locale).duration(milliseconds), text);
    }

    void dateTime_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru afternoon") << locale("ru_RU") << EncodeDateTime(2026, 3, 4, 13, 5, 9)
                                      << QStringLiteral("04.03.2026 13:05:09");
        QTest::newRow("en without time zone")
            << locale("en_US") << EncodeDateTime(2026, 3, 4, 13, 5, 9)
            << QStringLiteral("3/4/26 1:05:09 PM");
        QTest::newRow("midnight: date only")
            << locale("ru_RU") << EncodeDateTime(2026, 3, 4) << QStringLiteral("04.03.2026");
        QTest::newRow("first second after midnight: date only")
            << locale("ru_RU") << EncodeDateTime(2026, 3, 4, 0, 0, 0, 999)
            << QStringLiteral("04.03.2026");
        QTest::newRow("one second after midnight")
            << locale("ru_RU") << EncodeDateTime(2026, 3, 4, 0, 0, 1)
            << QStringLiteral("04.03.2026 00:00:01");
    }
    void dateTime() {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DateTimeText(locale).dateTime(value), text);
    }

    void longTimeFormatHasNoTimeZone() {
        for (const QLocale& each : {locale("en_US"), locale("ru_RU"), locale("de_DE")}) {
            const QString format = DateTimeText(each).longTimeFormat();
            QVERIFY2(!format.contains(u't') && !format.endsWith(u' '), qPrintable(format));
            QVERIFY2(format.contains(QStringLiteral("ss")), qPrintable(format));
        }
    }

    void toQDateTime_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("day zero noon") << 0.5 << QDateTime(QDate(1899, 12, 30), QTime(12, 0));
        QTest::newRow("before day zero") << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0));
        QTest::newRow("last millisecond of a day")
            << EncodeDateTime(2026, 1, 1, 23, 59, 59, 999)
            << QDateTime(QDate(2026, 1, 1), QTime(23, 59, 59, 999));
    }
    void toQDateTime() {
        QFETCH(double, value);
        QFETCH(QDateTime, moment);
        QCOMPARE(ToQDateTime(value), moment);
    }
};

QTEST_GUILESS_MAIN(DateTimeTextTest)
#include "DateTimeTextTest.moc"
