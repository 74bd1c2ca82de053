// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds on a stored window placement over several screens.

#include "shell/WindowPlacement.h"

#include <QTest>

using velmaro::WindowPlacement;

namespace {

// A wide screen on the left and a smaller one on its right, their tops level.
const QVector<QRect> kTwoScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
constexpr QSize kMinimum(800, 600);

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withinReach_data() {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("on the right screen") << QPoint(2000, 100) << QPoint(2000, 100);
        QTest::newRow("across both screens") << QPoint(1500, 100) << QPoint(1500, 100);
        QTest::newRow("half the title bar above the top") << QPoint(300, -10) << QPoint(300, -10);
        QTest::newRow("less than half above the top") << QPoint(300, -11) << QPoint(300, 0);
        QTest::newRow("grip width left on the right edge")
            << QPoint(3100, 100) << QPoint(3100, 100);
        QTest::newRow("beyond the right edge") << QPoint(3101, 100) << QPoint(3100, 100);
        // Below the right screen but level with the left one: moving up onto the right screen
        // is the shorter way.
        QTest::newRow("below the smaller screen") << QPoint(2000, 1050) << QPoint(2000, 1004);
        QTest::newRow("far beyond both") << QPoint(100000, -100000) << QPoint(3100, 0);
    }

    void withinReach() {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, placed);
        QCOMPARE(WindowPlacement::withinReach(stored, QSize(800, 600), kTwoScreens), placed);
    }

    void boundedSize_data() {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QVector<QRect>>("areas");
        QTest::addColumn<QSize>("bounded");
        QTest::newRow("fits") << QSize(1000, 700) << kTwoScreens << QSize(1000, 700);
        QTest::newRow("wider than both screens together")
            << QSize(100000, 100000) << kTwoScreens << QSize(3200, 1080);
        QTest::newRow("below the minimum") << QSize(0, -5) << kTwoScreens << kMinimum;
        QTest::newRow("screen smaller than the minimum")
            << QSize(1000, 700) << QVector<QRect>{{0, 0, 640, 480}} << kMinimum;
    }

    void boundedSize() {
        QFETCH(QSize, stored);
        QFETCH(QVector<QRect>, areas);
        QFETCH(QSize, bounded);
        QCOMPARE(WindowPlacement::boundedSize(stored, kMinimum, areas), bounded);
    }
};

QTEST_APPLESS_MAIN(WindowPlacementTest)

#include "WindowPlacementTest.moc"
