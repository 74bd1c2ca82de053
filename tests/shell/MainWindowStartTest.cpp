// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and close of the main window with the settings it reads and writes.

#include "WindowFixture.h"
#include "engine/FindFile.h"
#include "shell/Form_Main.h"
#include "shell/SkinManager.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>

using velmaro::TForm_Main;

namespace {

// The offscreen screen of this test: placed away from the origin, so that the centring
// default shows that it uses the work area's right and bottom coordinates.
constexpr QRect kScreen(100, 50, 1280, 1024);

QStringList checkedMasks(const TForm_Main& window) {
    QStringList masks;
    for (int i = 0; i < window.sListView_CrExt->topLevelItemCount(); ++i)
        if (window.sListView_CrExt->topLevelItem(i)->checkState(0) == Qt::Checked)
            masks.append(window.sListView_CrExt->topLevelItem(i)->text(0));
    return masks;
}

} // namespace

class MainWindowStartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fixture;

    TForm_Main& start() { return m_fixture->start(); }

private Q_SLOTS:
    void init() { m_fixture = std::make_unique<WindowFixture>(); }

    void cleanup() { m_fixture.reset(); }

    void firstStart() {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), kScreen);
        TForm_Main& window = start();
        QVERIFY(m_fixture->prompts().messages.isEmpty());
        // Centre: (100 + 1280) / 2 - 800 / 2 and (50 + 1024) / 2 - 600 / 2.
        QCOMPARE(window.frameGeometry(), QRect(290, 237, 800, 600));
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.sNotebook_Cr->width(), 224);
        QCOMPARE(window.sNotebook_Cr->currentIndex(), 0);
        QCOMPARE(window.sLabel_Hint->text(), QStringLiteral("Режим: полная очистка."));
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmaro 2.25 beta"));
        QCOMPARE(window.sSkinManager->SkinName(), QStringLiteral("default"));
        QVERIFY(window.sSkinManager->Active());
        QCOMPARE(window.sListView_CrExt->topLevelItemCount(), 42);
        QCOMPARE(checkedMasks(window).size(), 25);
        QVERIFY(checkedMasks(window).contains(QStringLiteral("*.tmp")));
        QVERIFY(!checkedMasks(window).contains(QStringLiteral("*.old")));

        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(TestSettingsFolder::read("Skin", "Name"), "default");
        QCOMPARE(TestSettingsFolder::names("ExtCr").size(), 42);
        QCOMPARE(TestSettingsFolder::read("ExtCr", "*.tmp"), "1");
        QCOMPARE(TestSettingsFolder::read("ExtCr", "*.old"), "0");
        QCOMPARE(TestSettingsFolder::names("windowmain"),
                 (QStringList{"M", "L", "T", "W", "H", "splitter"}));
        const QStringList values = {
            QString::fromStdString(TestSettingsFolder::read("windowmain", "M")),
            QString::fromStdString(TestSettingsFolder::read("windowmain", "L")),
            QString::fromStdString(TestSettingsFolder::read("windowmain", "T")),
            QString::fromStdString(TestSettingsFolder::read("windowmain", "W")),
            QString::fromStdString(TestSettingsFolder::read("windowmain", "H")),
            QString::fromStdString(TestSettingsFolder::read("windowmain", "splitter"))};
        QCOMPARE(values, (QStringList{"0", "290", "237", "800", "600", "224"}));
        QVERIFY(TestSettingsFolder::names("news").isEmpty());
    }

    void closeDuringSearchAbortsAndSaves() {
        const velmaro::test::TempFolder tree;
        tree.folder("a/b");
        TForm_Main& window = start();
        velmaro::TFindFile& search = window.FindFile();
        search.Criteria().Files().SetLocation(tree.root());
        search.Criteria().Files().SetFileName("*");
        std::atomic<bool> walking = false;
        // The walk holds in its first folder until the search is aborted.
        search.OnFolderChange = [&walking](velmaro::TFindFile& sender, const std::string&,
                                           velmaro::TFolderIgnore&) {
            walking = true;
            while (!sender.Aborted())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        search.Execute();
        QTRY_VERIFY(walking);
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(search.Aborted());
        QCOMPARE(TestSettingsFolder::read("windowmain", "M"), "0");
        m_fixture->destroyWindow();
        QVERIFY(m_fixture->prompts().messages.isEmpty());
    }

    void quitButtonClosesAndSaves() {
        TForm_Main& window = start();
        QTest::mouseClick(window.ToolButton_Quit, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(TestSettingsFolder::read("windowmain", "M"), "0");
        QVERIFY(m_fixture->prompts().messages.isEmpty());
    }

    void restoredPlacementDoesNotGrow() {
        TestSettingsFolder::write("windowmain", "L", "120");
        TestSettingsFolder::write("windowmain", "T", "80");
        TestSettingsFolder::write("windowmain", "W", "1000");
        TestSettingsFolder::write("windowmain", "H", "  700");
        TestSettingsFolder::write("windowmain", "splitter", "300");
        for (int run = 0; run < 2; ++run) {
            TForm_Main& window = start();
            QCOMPARE(window.frameGeometry(), QRect(120, 80, 1000, 700));
            QCOMPARE(window.sNotebook_Cr->width(), 300);
            window.close();
            QCOMPARE(TestSettingsFolder::read("windowmain", "L"), "120");
            QCOMPARE(TestSettingsFolder::read("windowmain", "T"), "80");
            QCOMPARE(TestSettingsFolder::read("windowmain", "W"), "1000");
            QCOMPARE(TestSettingsFolder::read("windowmain", "H"), "700");
            QCOMPARE(TestSettingsFolder::read("windowmain", "splitter"), "300");
        }
    }

    void negativeLeftEdge() {
        // Partly left of the screen, and a little above it: still within reach, so unchanged.
        TestSettingsFolder::write("windowmain", "L", "-20");
        TestSettingsFolder::write("windowmain", "T", "45");
        // Checked before showing: the offscreen platform pulls a window whose frame starts left
        // of every screen back by its frame width when it first shows it.
        TForm_Main& window = m_fixture->make();
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(-20, 45));
        window.close();
        QCOMPARE(TestSettingsFolder::read("windowmain", "L"), "-20");
        QCOMPARE(TestSettingsFolder::read("windowmain", "T"), "45");
    }

    void placementBoundedByTheScreen_data() {
        QTest::addColumn<QStringList>("stored"); // L, T, W, H; empty: not stored
        QTest::addColumn<QRect>("shown");
        const QString max = QString::number(std::numeric_limits<int>::max());
        const QString min = QString::number(std::numeric_limits<int>::min());
        // The screen's available area is 100, 50, 1280 x 1024.
        QTest::newRow("within reach: unchanged")
            << QStringList{"150", "60", "1000", "700"} << QRect(150, 60, 1000, 700);
        QTest::newRow("huge size: the work area, centred by default, title bar moved in")
            << QStringList{"", "", max, max} << QRect(50, 50, 1280, 1024);
        QTest::newRow("huge top: title bar at the bottom edge")
            << QStringList{"120", max, "1000", "700"} << QRect(120, 1054, 1000, 700);
        QTest::newRow("far above: title bar at the top edge")
            << QStringList{"120", min, "1000", "700"} << QRect(120, 50, 1000, 700);
        QTest::newRow("far left: its right end on the screen")
            << QStringList{min, "80", "1000", "700"} << QRect(-800, 80, 1000, 700);
        QTest::newRow("far right: its left end on the screen")
            << QStringList{max, "80", "1000", "700"} << QRect(1280, 80, 1000, 700);
    }

    void placementBoundedByTheScreen() {
        QFETCH(QStringList, stored);
        QFETCH(QRect, shown);
        const char* const names[] = {"L", "T", "W", "H"};
        for (int i = 0; i < 4; ++i)
            if (!stored[i].isEmpty())
                TestSettingsFolder::write("windowmain", names[i], stored[i].toStdString());
        TForm_Main& window = start();
        QCOMPARE(window.frameGeometry(), shown);
        window.close();
        // What was shown is saved back, so the next start is within reach too.
        QCOMPARE(TestSettingsFolder::read("windowmain", "L"), std::to_string(shown.x()));
        QCOMPARE(TestSettingsFolder::read("windowmain", "T"), std::to_string(shown.y()));
        QCOMPARE(TestSettingsFolder::read("windowmain", "W"), std::to_string(shown.width()));
        QCOMPARE(TestSettingsFolder::read("windowmain", "H"), std::to_string(shown.height()));
    }

    void sizeBelowMinimum() {
        TestSettingsFolder::write("windowmain", "W", "500");
        TestSettingsFolder::write("windowmain", "H", "12abc");
        TForm_Main& window = start();
        QCOMPARE(window.frameGeometry().size(), QSize(800, 600));
        window.resize(100, 100);
        QCOMPARE(window.frameGeometry().size(), QSize(800, 600));
    }

    void maximisedRestore() {
        TestSettingsFolder::write("windowmain", "M", "1");
        TestSettingsFolder::write("windowmain", "L", "200");
        TestSettingsFolder::write("windowmain", "T", "100");
        TestSettingsFolder::write("windowmain", "W", "900");
        TestSettingsFolder::write("windowmain", "H", "650");
        TForm_Main& window = start();
        QVERIFY(window.isMaximized());
        // normalGeometry is the client area inside the frame of 2 pixels on every side.
        QCOMPARE(window.normalGeometry(), QRect(202, 102, 896, 646));
        window.showNormal();
        QTRY_COMPARE(window.frameGeometry(), QRect(200, 100, 900, 650));
        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        window.close();
        QCOMPARE(TestSettingsFolder::names("windowmain"),
                 (QStringList{"M", "L", "T", "W", "H", "splitter"}));
        QCOMPARE(TestSettingsFolder::read("windowmain", "M"), "1");
        QCOMPARE(TestSettingsFolder::read("windowmain", "L"), "200");
        QCOMPARE(TestSettingsFolder::read("windowmain", "W"), "900");
        QCOMPARE(TestSettingsFolder::read("windowmain", "H"), "650");

        m_fixture->settings().clear();
        TestSettingsFolder::write("windowmain", "M", "1");
        start().close();
        QCOMPARE(TestSettingsFolder::names("windowmain"), (QStringList{"M", "splitter"}));
    }

    void dwordWidthStopsStartUp() {
        TestSettingsFolder::writeExport("windowmain", "\"W\"=dword:00000320");
        TForm_Main& window = start();
        QCOMPARE(m_fixture->prompts().messages.size(), 1);
        QCOMPARE(m_fixture->prompts().messages[0].icon, RecordingPrompts::Icon::Critical);
        QCOMPARE(m_fixture->prompts().messages[0].title, QStringLiteral("Velmaro 2"));
        QCOMPARE(m_fixture->prompts().messages[0].text,
                 QStringLiteral("Invalid data type for 'W'"));
        // The steps before the width ran, the ones after it did not.
        QVERIFY(window.sSkinManager->Active());
        QCOMPARE(window.sListView_Location->topLevelItemCount(), 3);
        QCOMPARE(checkedMasks(window).size(), 25);
        QCOMPARE(window.sLabel_Hint->text(), QString());
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmaro"));
        QVERIFY(window.frameGeometry().width() >= 800);
    }

    void dwordSplitterIsIgnored() {
        TestSettingsFolder::writeExport("windowmain", "\"splitter\"=dword:00000190");
        TForm_Main& window = start();
        QVERIFY(m_fixture->prompts().messages.isEmpty());
        QCOMPARE(window.sNotebook_Cr->width(), 224);
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmaro 2.25 beta"));
    }

    void catalogueChecksFromSettings() {
        TestSettingsFolder::write("ExtCr", "*.old", "2");     // not recommended, stored checked
        TestSettingsFolder::write("ExtCr", "*.log", "-1");    // not recommended, stored checked
        TestSettingsFolder::write("ExtCr", "*.tmp", "0");     // recommended, stored unchecked
        TestSettingsFolder::write("ExtCr", "*.diz", "maybe"); // not a number: recommended
        TestSettingsFolder::write("ExtCr", "*.bak", "maybe"); // not a number: not recommended
        TForm_Main& window = start();
        const QStringList masks = checkedMasks(window);
        QCOMPARE(masks.size(), 25 + 2 - 1);
        QVERIFY(masks.contains(QStringLiteral("*.old")));
        QVERIFY(masks.contains(QStringLiteral("*.log")));
        QVERIFY(!masks.contains(QStringLiteral("*.tmp")));
        QVERIFY(masks.contains(QStringLiteral("*.diz")));
        QVERIFY(!masks.contains(QStringLiteral("*.bak")));
        window.close();
        QCOMPARE(TestSettingsFolder::read("ExtCr", "*.old"), "1");
        QCOMPARE(TestSettingsFolder::read("ExtCr", "*.tmp"), "0");
    }

    void unknownSkinIsDrawnAsDefaultAndKept() {
        TestSettingsFolder::write("Skin", "Name", "Бархат 3");
        TForm_Main& window = start();
        QCOMPARE(window.sSkinManager->SkinName(), QStringLiteral("Бархат 3"));
        QCOMPARE(qApp->styleSheet(),
                 velmaro::SkinManager::styleSheetFor(QStringLiteral("default")));
        QVERIFY(!qApp->styleSheet().isEmpty());
        window.close();
        QCOMPARE(TestSettingsFolder::read("Skin", "Name"), "Бархат 3");
    }

    void unwritableSettingsStillClose() {
        // A settings folder below a regular file cannot be made, not even by root.
        const velmaro::test::TempFolder blocker;
        const std::string file = blocker.file("file");
        TForm_Main& window = start();
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(file + "/config"));
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(m_fixture->prompts().messages.size(), 1);
        QCOMPARE(m_fixture->prompts().messages[0].icon, RecordingPrompts::Icon::Critical);
        QCOMPARE(m_fixture->prompts().messages[0].title, QStringLiteral("Velmaro 2"));
        QCOMPARE(m_fixture->prompts().messages[0].text,
                 QStringLiteral("Failed to create key Skin"));
    }
};

int main(int argc, char* argv[]) {
    const velmaro::test::TempFolder folder;
    const std::string config =
        folder.file("screens.json",
                    QStringLiteral(R"({"screens": [{"name": "test", "x": %1, "y": %2, "width": %3,
                                  "height": %4, "logicalDpi": 96, "dpr": 1}]})")
                        .arg(kScreen.x())
                        .arg(kScreen.y())
                        .arg(kScreen.width())
                        .arg(kScreen.height())
                        .toStdString());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray::fromStdString(config));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaro 2"));
    MainWindowStartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowStartTest.moc"
