// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempFolder.h"
#include "platform/CodePage.h"
#include "workflow/Form_Report.h"
#include "workflow/Prompts.h"

#include <QDate>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using velmaro::Prompts;
using velmaro::TForm_Report;
using velmaro::platform::CodePage;
using velmaro::test::entryExists;
using velmaro::test::fileText;
using velmaro::test::TempFolder;

namespace {

// Answers the report's dialogs: the save dialog with the queued names (empty: cancel), and
// notes every message box.
class FakePrompts : public Prompts {
public:
    struct Message {
        Icon icon;
        QString title;
        QString text;
    };
    QStringList answers;
    std::vector<Message> messages;
    QString askedFile;
    QString askedFilter;

    void message(QWidget*, Icon icon, const QString& title, const QString& text) override {
        messages.push_back({icon, title, text});
    }
    QString saveFileName(QWidget*, const QString&, const QString& file,
                         const QString& filter) override {
        askedFile = file;
        askedFilter = filter;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

QStringList memoLines(const TForm_Report& report) {
    const auto* memo = report.findChild<QPlainTextEdit*>(QStringLiteral("sMemo_Report"));
    return memo ? memo->toPlainText().split(QLatin1Char('\n')) : QStringList();
}

const QString Summary = QStringLiteral("Продолжительность поиска: 0:01.250.");

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

    FakePrompts m_prompts;

private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        CodePage::select("UTF-8");
        m_prompts = FakePrompts();
        Prompts::install(&m_prompts);
    }
    void cleanup() {
        Prompts::install(nullptr);
        CodePage::select("UTF-8");
        QLocale::setDefault(QLocale::c());
    }

    void windowHasItsControls() {
        TForm_Report report(nullptr, Summary, 0, 0, {});
        QCOMPARE(report.windowTitle(), QStringLiteral("Отчёт"));
        QCOMPARE(report.size(), QSize(616, 444));
        auto* save = report.findChild<QPushButton*>(QStringLiteral("sBitBtn_SaveReport"));
        auto* close = report.findChild<QPushButton*>(QStringLiteral("sBitBtn_Close"));
        QVERIFY(save && close);
        QCOMPARE(save->text(), QStringLiteral("Сохранить отчёт"));
        QCOMPARE(close->text(), QStringLiteral("OK"));
        QVERIFY(close->isDefault());
        QVERIFY(report.findChild<QAction*>(QStringLiteral("N1")));
        report.show();
        QVERIFY(QTest::qWaitForWindowExposed(&report));
        QCOMPARE(report.focusWidget(), close);
        QTest::keyClick(&report, Qt::Key_Escape);
        QVERIFY(!report.isVisible());
    }

    void withoutFailuresTheReportHasFourLines() {
        TForm_Report report(nullptr, Summary, 0, 0, {});
        QCOMPARE(memoLines(report),
                 QStringList({QLocale().toString(QDate::currentDate(), QLocale::ShortFormat),
                              Summary, QStringLiteral("Удалено файлов: 0"),
                              QStringLiteral("Очищено маста: 0 b")}));
    }

    void failuresFollowBetweenSeparators() {
        const std::string odd = "/tmp/caf\xE9.tmp"; // not valid UTF-8
        TForm_Report report(nullptr, Summary, 12, 1536, {"/tmp/a.tmp", odd});
        const QStringList lines = memoLines(report);
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.mid(2),
                 QStringList(
                     {QStringLiteral("Удалено файлов: 12"), QStringLiteral("Очищено маста: 1.5 Kb"),
                      QString(), QStringLiteral("Не удалось удалить следующие файлы:"),
                      QString(60, QLatin1Char('-')), QStringLiteral("/tmp/a.tmp"),
                      QStringLiteral("/tmp/caf\uFFFD.tmp"), QString(60, QLatin1Char('-'))}));
    }

    void savesInTheCodePageWithCrLfAndRawPaths() {
        QVERIFY(CodePage::select("CP1251"));
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string odd = "/data/\xFF\xE9t\xE9.tmp";
        TForm_Report report(nullptr, Summary, 1, 1000, {odd});
        m_prompts.answers = {QString::fromStdString(fixture.path("report"))};
        report.N1Click();

        QCOMPARE(m_prompts.askedFile, QStringLiteral("Report.txt"));
        QCOMPARE(m_prompts.askedFilter, QStringLiteral("Text file (*.txt *.TXT)"));
        const std::string date =
            QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        const std::string separator(60, '-');
        const std::string expected =
            date + "\r\n" +
            "\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xE5\xEB\xFC\xED\xEE\xF1\xF2\xFC "
            "\xEF\xEE\xE8\xF1\xEA\xE0: 0:01.250.\r\n"
            "\xD3\xE4\xE0\xEB\xE5\xED\xEE \xF4\xE0\xE9\xEB\xEE\xE2: 1\r\n"
            "\xCE\xF7\xE8\xF9\xE5\xED\xEE \xEC\xE0\xF1\xF2\xE0: 1000 b\r\n"
            "\r\n"
            "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xF3\xE4\xE0\xEB\xE8\xF2\xFC "
            "\xF1\xEB\xE5\xE4\xF3\xFE\xF9\xE8\xE5 \xF4\xE0\xE9\xEB\xFB:\r\n" +
            separator + "\r\n" + odd + "\r\n" + separator + "\r\n";
        QCOMPARE(fileText(fixture.path("report.txt")), expected);
        QCOMPARE(m_prompts.messages.size(), std::size_t{1});
        QCOMPARE(m_prompts.messages[0].icon, Prompts::Icon::Information);
        QCOMPARE(m_prompts.messages[0].title, QString());
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Отчёт сохранён."));
    }

    void fileNameGetsTxtUnlessItHasIt_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << "report"
                                      << "report.txt";
        QTest::newRow(".txt") << "report.txt"
                              << "report.txt";
        QTest::newRow(".TXT") << "report.TXT"
                              << "report.TXT";
        QTest::newRow(".tXt") << "report.tXt"
                              << "report.tXt";
        QTest::newRow(".log") << "report.log"
                              << "report.log.txt";
        QTest::newRow("trailing dot") << "report."
                                      << "report..txt";
        QTest::newRow(".txt in the middle") << "report.txt.bak"
                                            << "report.txt.bak.txt";
        QTest::newRow(".text") << "report.text"
                               << "report.text.txt";
        QTest::newRow("folder with a dot") << "my.dir/report"
                                           << "my.dir/report.txt";
    }
    void fileNameGetsTxtUnlessItHasIt() {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        fixture.folder("my.dir");
        TForm_Report report(nullptr, Summary, 0, 0, {});
        m_prompts.answers = {QString::fromStdString(fixture.path(chosen.toStdString()))};
        report.N1Click();
        QCOMPARE(m_prompts.messages.size(), std::size_t{1});
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Отчёт сохранён."));
        QVERIFY(entryExists(fixture.path(saved.toStdString())));
        if (chosen != saved)
            QVERIFY(!entryExists(fixture.path(chosen.toStdString())));
    }

    void extendedNameReplacesAnExistingFile() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string existing = fixture.file("report.txt", "old contents, much longer");
        TForm_Report report(nullptr, Summary, 0, 0, {});
        m_prompts.answers = {QString::fromStdString(fixture.path("report"))};
        report.N1Click();
        QVERIFY(fileText(existing).find("old") == std::string::npos);
        QVERIFY(fileText(existing).ends_with(": 0 b\r\n"));
        QVERIFY(!entryExists(fixture.path("report")));
    }

    void failedSaveWarnsAndTheWindowCanSaveAgain() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        // A path through a regular file fails for root too.
        fixture.file("plain", "x");
        TForm_Report report(nullptr, Summary, 0, 0, {});
        report.show();
        m_prompts.answers = {QString::fromStdString(fixture.path("plain/report")),
                             QString::fromStdString(fixture.path("report"))};
        report.findChild<QPushButton*>(QStringLiteral("sBitBtn_SaveReport"))->click();
        QCOMPARE(m_prompts.messages.size(), std::size_t{1});
        QCOMPARE(m_prompts.messages[0].icon, Prompts::Icon::Warning);
        QCOMPARE(m_prompts.messages[0].title, QString());
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Ошибка при сохранении отчёта."));
        QVERIFY(report.isVisible());

        report.findChild<QAction*>(QStringLiteral("N1"))->trigger();
        QCOMPARE(m_prompts.messages.size(), std::size_t{2});
        QCOMPARE(m_prompts.messages[1].text, QStringLiteral("Отчёт сохранён."));
        QVERIFY(entryExists(fixture.path("report.txt")));
    }

    void cancelledDialogDoesNothing() {
        TForm_Report report(nullptr, Summary, 0, 0, {});
        report.N1Click();
        QVERIFY(m_prompts.messages.empty());
    }
};

QTEST_MAIN(ReportTest)
#include "ReportTest.moc"
