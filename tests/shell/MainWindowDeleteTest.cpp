// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting the checked result rows through the main window: the files, the rows left, the
// controls during and after the pass, the report, and closing the window meanwhile.

#include "ListedFile.h"
#include "ReportAnswer.h"
#include "WindowFixture.h"
#include "platform/FileOperations.h"
#include "shell/Form_Main.h"
#include "workflow/ResultListModel.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using velmaro::ResultListModel;
using velmaro::TForm_Main;
using velmaro::test::entryExists;
using velmaro::test::permissionsOf;
using velmaro::test::TempFolder;

namespace {

// Lists the file at path as a search would: checked, with its bytes, size and identity.
void listFile(ResultListModel& list, const std::string& path, std::int64_t size,
              bool checked = true) {
    velmaro::ResultRowStore row;
    row.append(velmaro::test::listedFile(path, size));
    list.append(row);
    list.setChecked(list.rows().size() - 1, checked);
}

QStringList listedNames(const ResultListModel& list) {
    QStringList names;
    for (std::size_t i = 0; i < list.rows().size(); ++i)
        names.append(QString::fromStdString(std::string(list.rows().name(i))));
    return names;
}

} // namespace

class MainWindowDeleteTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fixture;
    TForm_Main* m_window = nullptr;

private Q_SLOTS:
    void init() {
        m_fixture = std::make_unique<WindowFixture>(WindowFixture::Drives::fixtureFolder);
        m_window = &m_fixture->start();
    }

    void cleanup() {
        const std::unique_ptr<WindowFixture> fixture = std::move(m_fixture);
        fixture->destroyWindow();
        QVERIFY(fixture->prompts().messages.isEmpty());
    }

    void deletesCheckedRowsAndReports() {
        const TempFolder outside;
        const TempFolder& fixture = m_fixture->drive();
        const std::string twice = fixture.file("a/twice.tmp", std::string(100, 'x'));
        const std::string kept = fixture.file("a/kept.tmp", "x");
        const std::string readOnly = fixture.file("a/locked.tmp", std::string(20, 'x'));
        QCOMPARE(chmod(readOnly.c_str(), 0444), 0);
        const std::string alsoKept = fixture.file("b/also-kept.tmp", "x");
        const std::string swapped = fixture.file("c/sub/swapped.tmp", "abc");
        const std::string victim = outside.file("sub/swapped.tmp", "abc");

        ResultListModel& list = m_window->results();
        listFile(list, twice, 100);
        listFile(list, kept, 1, false);
        listFile(list, readOnly, 20);
        listFile(list, fixture.path("a/gone.tmp"), 7);
        listFile(list, twice, 100);
        listFile(list, alsoKept, 1, false);
        listFile(list, swapped, 3);
        QVERIFY(m_window->Act_Delete->isEnabled());
        // After the search, a folder of a listed file is replaced by a link to elsewhere.
        QCOMPARE(rename(fixture.path("c/sub").c_str(), fixture.path("c/old").c_str()), 0);
        QCOMPARE(symlink(outside.path("sub").c_str(), fixture.path("c/sub").c_str()), 0);

        // The left pane keeps its width while the panel stands in the list's place.
        const int paneWidth = m_window->sNotebook_Cr->width();
        struct State {
            bool startFind, remove, modeQuick, listShown, panelShown;
            int bar, paneWidth;
            bool operator==(const State&) const = default;
        };
        const auto state = [this] {
            return State{m_window->Act_StartFind->isEnabled(),
                         m_window->Act_Delete->isEnabled(),
                         m_window->ToolButton_ModeQuick->isEnabled(),
                         m_window->sListView_Result->isVisible(),
                         m_window->sPanel_Delete->isVisible(),
                         m_window->sProgressBar_Delete->value(),
                         m_window->sNotebook_Cr->width()};
        };
        State during{};
        // Runs among the events processed after the first file; a second start is ignored.
        QTimer::singleShot(0, m_window, [&] {
            // The splitter lays its panes out again from a posted event; let it do so first.
            QCoreApplication::sendPostedEvents();
            during = state();
            m_window->Act_DeleteExecute();
        });
        State withReport{};
        ReportAnswer report([&](velmaro::TForm_Report&) { withReport = state(); });
        QTest::mouseClick(m_window->ToolButton_Delete, Qt::LeftButton);

        QCOMPARE(report.shown, 1);
        QCOMPARE(during, (State{false, false, false, false, true, 1, paneWidth}));
        QCOMPARE(withReport, (State{true, false, true, true, false, 5, paneWidth}));
        QCOMPARE(state(), (State{true, true, true, true, false, 5, paneWidth}));
        QCOMPARE(m_window->sProgressBar_Delete->maximum(), 7);
        QCOMPARE(listedNames(list), (QStringList{"kept.tmp", "also-kept.tmp"}));

        const QStringList lines = report.text.split(QLatin1Char('\n'));
        // The file listed twice counts once.
        QVERIFY(lines.contains(QStringLiteral("Удалено файлов: 3")));
        QVERIFY(lines.contains(QStringLiteral("Очищено маста: 127 b")));
        QCOMPARE(lines.mid(lines.size() - 3),
                 (QStringList{QString(60, QLatin1Char('-')), QString::fromStdString(swapped),
                              QString(60, QLatin1Char('-'))}));
        QVERIFY(!entryExists(twice));
        QVERIFY(!entryExists(readOnly));
        QVERIFY(entryExists(kept));
        QVERIFY(entryExists(alsoKept));
        QVERIFY(entryExists(fixture.path("c/old/swapped.tmp")));
        QVERIFY(entryExists(victim));
        QCOMPARE(permissionsOf(victim), 0644);
    }

    void lastRowsDeletedLeaveDeleteDisabled() {
        const std::string file = m_fixture->drive().file("only.tmp", "x");
        listFile(m_window->results(), file, 1);
        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        ReportAnswer report;
        m_window->Act_Delete->trigger();
        QCOMPARE(report.shown, 1);
        QVERIFY(!entryExists(file));
        QCOMPARE(m_window->results().rowCount(), 0);
        QVERIFY(!m_window->Act_Delete->isEnabled());
        // Started in the quick mode, the pass still ends with the search enabled.
        QVERIFY(m_window->Act_StartFind->isEnabled());
        QVERIFY(m_window->ToolButton_ModeQuick->isEnabled());
    }

    void closingDuringPassStopsAfterTheCurrentFile() {
        ResultListModel& list = m_window->results();
        std::vector<std::string> files;
        for (const char* name : {"1.tmp", "2.tmp", "3.tmp", "4.tmp"}) {
            files.push_back(m_fixture->drive().file(name, "x"));
            listFile(list, files.back(), 1);
        }
        ReportAnswer report;
        // As in the program: the pass runs from the application's event loop, the close comes
        // among the events processed after the first file, and the loop must then end by
        // itself, as it does when the last window closes.
        QTimer::singleShot(0, m_window, [this] {
            QTimer::singleShot(0, m_window, [this] { m_window->close(); });
            m_window->Act_Delete->trigger();
        });
        QTimer hung;
        hung.setSingleShot(true);
        connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        hung.start(20000);
        QCOMPARE(QApplication::exec(), 0);

        QCOMPARE(report.shown, 0);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!entryExists(files[0]));
        for (std::size_t i = 1; i < files.size(); ++i)
            QVERIFY(entryExists(files[i]));
        QCOMPARE(listedNames(list), (QStringList{"2.tmp", "3.tmp", "4.tmp"}));
        QVERIFY(m_window->Act_Delete->isEnabled());
        // The close saved the settings as every close does.
        QVERIFY(!TestSettingsFolder::names("windowmain").isEmpty());
    }
};

QTEST_MAIN(MainWindowDeleteTest)
#include "MainWindowDeleteTest.moc"
