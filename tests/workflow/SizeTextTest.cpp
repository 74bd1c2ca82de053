#include "workflow/SizeText.h"

#include <QLocale>
#include <QTest>

using velmaro::RoundToFactor;
using velmaro::SizeToText;

class SizeTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void sizeToText_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("bytes");
        QTest::addColumn<QString>("text");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        const struct {
            const char* name;
            double bytes;
            const char* dot;
            const char* comma;
        } rows[] = {
            {"0", 0, "0 b", "0 b"},
            {"1000", 1000, "1000 b", "1000 b"},
            {"1001", 1001, "0.98 Kb", "0,98 Kb"},
            {"1023", 1023, "1 Kb", "1 Kb"},
            {"1536", 1536, "1.5 Kb", "1,5 Kb"},
            {"1000 Kb - 1", 1000.0 * 1024 - 1, "1000 Kb", "1000 Kb"},
            {"1000 Kb", 1000.0 * 1024, "1000 Kb", "1000 Kb"},
            {"1001 Kb", 1001.0 * 1024, "0.98 Mb", "0,98 Mb"},
            {"1 Mb", 1048576, "1 Mb", "1 Mb"},
            {"123456789", 123456789, "117.74 Mb", "117,74 Mb"},
            {"5 Tb", 5.0 * 1099511627776.0, "5120 Gb", "5120 Gb"},
        };
        for (const auto& row : rows) {
            QTest::newRow(qPrintable(QStringLiteral("full stop: %1").arg(row.name)))
                << english << row.bytes << QString::fromUtf8(row.dot);
            QTest::newRow(qPrintable(QStringLiteral("comma: %1").arg(row.name)))
                << russian << row.bytes << QString::fromUtf8(row.comma);
        }
    }

    void sizeToText() {
        QFETCH(QLocale, locale);
        QFETCH(double, bytes);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        QCOMPARE(SizeToText(bytes), text);
    }

    void roundToFactor_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("-2.345") << -2.345 << -2.35;
        QTest::newRow("-2.5") << -2.5 << -2.5;
        QTest::newRow("2.345") << 2.345 << 2.35;
        QTest::newRow("2.005 is stored below its decimal value") << 2.005 << 2.0;
        QTest::newRow("half of a hundredth away from zero") << -0.125 << -0.13;
    }

    void roundToFactor() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(RoundToFactor(100, value), rounded);
    }
};

QTEST_MAIN(SizeTextTest)
#include "SizeTextTest.moc"
