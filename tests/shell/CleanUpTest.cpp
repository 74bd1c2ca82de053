// SPDX-License-Identifier: GPL-3.0-or-later
// A whole clean-up through the main window: search a fixture drive, delete what was found,
// read the report and save it.

#include "ReportAnswer.h"
#include "WindowFixture.h"
#include "platform/CodePage.h"
#include "shell/Form_Main.h"
#include "workflow/ResultListModel.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using velmaro::TForm_Main;
using velmaro::platform::CodePage;
using velmaro::test::entryExists;
using velmaro::test::TempFolder;

class CleanUpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CodePage::select("UTF-8"); }

    void searchDeleteAndSaveTheReport() {
        QVERIFY(CodePage::select("CP1251"));
        WindowFixture fixture(WindowFixture::Drives::fixtureFolder);
        const TempFolder& drive = fixture.drive();
        const std::string first = drive.file("a.tmp", std::string(100, 'x'));
        const std::string second = drive.file("sub/b.temp", std::string(28, 'x'));
        // Not valid UTF-8: found and deleted by its bytes.
        const std::string odd = drive.file("sub/\xFF\xE9.tmp", "xy");
        const std::string other = drive.file("sub/keep.txt", "x");
        const TempFolder saveFolder;
        RecordingPrompts& prompts = fixture.prompts();
        TForm_Main& window = fixture.start();
        window.N3Click();
        window.sListView_CrExt->topLevelItem(1)->setCheckState(0, Qt::Checked); // *.tmp
        window.sListView_CrExt->topLevelItem(2)->setCheckState(0, Qt::Checked); // *.temp

        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fixture.waitForSearch());
        QVERIFY(!prompts.messages.isEmpty());
        QCOMPARE(prompts.messages[0].title, QStringLiteral("Поиск"));
        QCOMPARE(prompts.messages[0].text, QStringLiteral("Поиск завершен."));
        prompts.messages.clear();
        QCOMPARE(window.results().rowCount(), 3);
        QVERIFY(window.Act_Delete->isEnabled());

        prompts.saveAnswer =
            QFile::decodeName(QByteArray::fromStdString(saveFolder.path("report")));
        ReportAnswer report([](velmaro::TForm_Report& shown) { shown.N1Click(); });
        QTest::mouseClick(window.ToolButton_Delete, Qt::LeftButton);

        QCOMPARE(report.shown, 1);
        QVERIFY(!entryExists(first));
        QVERIFY(!entryExists(second));
        QVERIFY(!entryExists(odd));
        QVERIFY(entryExists(other));
        QCOMPARE(window.results().rowCount(), 0);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].text, QStringLiteral("Отчёт сохранён."));

        const QStringList lines = report.text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        const QString prefix = QStringLiteral("Продолжительность поиска: ");
        QVERIFY(lines[1].startsWith(prefix));
        QCOMPARE(lines[2], QStringLiteral("Удалено файлов: 3"));
        QCOMPARE(lines[3], QStringLiteral("Очищено маста: 130 b"));
        QFile saved(QFile::decodeName(QByteArray::fromStdString(saveFolder.path("report.txt"))));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray expected =
            QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toLatin1() + "\r\n" +
            "\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xE5\xEB\xFC\xED\xEE\xF1\xF2\xFC "
            "\xEF\xEE\xE8\xF1\xEA\xE0: " +
            lines[1].mid(prefix.size()).toLatin1() + "\r\n" +
            "\xD3\xE4\xE0\xEB\xE5\xED\xEE \xF4\xE0\xE9\xEB\xEE\xE2: 3\r\n"
            "\xCE\xF7\xE8\xF9\xE5\xED\xEE \xEC\xE0\xF1\xF2\xE0: 130 b\r\n";
        QCOMPARE(saved.readAll(), expected);
        prompts.messages.clear();
    }
};

QTEST_MAIN(CleanUpTest)
#include "CleanUpTest.moc"
