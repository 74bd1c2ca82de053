// SPDX-License-Identifier: GPL-3.0-or-later
// A search run over fixture trees, through the controls it drives: the rows it lists, the
// status bar, its running state, its boxes, and stopping or closing while the worker waits for
// the GUI thread. Every test runs with the search on a worker thread and on the GUI thread.

#include "workflow/SearchRun.h"

#include "TempFolder.h"
#include "platform/CodePage.h"
#include "shell/support/RecordingPrompts.h"
#include "workflow/GuiHandOff.h"
#include "workflow/ResultListModel.h"
#include "workflow/SizeText.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

using velmaro::GuiHandOff;
using velmaro::ResultListModel;
using velmaro::SearchRun;
using velmaro::TFileDetails;
using velmaro::TFindFile;
using velmaro::TFolderIgnore;
using velmaro::test::TempFolder;
using Icon = velmaro::Prompts::Icon;

namespace {

constexpr int finishTimeout = 20000;

const QString finishedBox = QStringLiteral("Поиск завершен.");
const QRegularExpression summaryLabel(QStringLiteral(
    "^Продолжительность поиска: \\d+:\\d\\d\\.\\d\\d\\d\\. Размер найденых файлов: (.+)\\.$"));

// The parts of the main window that a search run drives, in their state after start-up.
struct Window {
    Window() {
        bar.setRange(0, 100);
        bar.setValue(0);
        bar.hide();
    }
    velmaro::SearchControls controls() { return {&widget, &results, &label, &bar}; }

    QWidget widget;
    ResultListModel results;
    QLabel label{&widget};
    QProgressBar bar{&widget};
};

// What the controls show, to compare before and after a step.
struct Snapshot {
    explicit Snapshot(const Window& w)
        : rows(w.results.rowCount()), label(w.label.text()), barShown(w.bar.isVisibleTo(&w.widget)),
          barValue(w.bar.value()) {}
    bool operator==(const Snapshot&) const = default;

    int rows;
    QString label;
    bool barShown;
    int barValue;
};

std::vector<std::string> rowNames(const ResultListModel& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.rows().size(); ++i)
        names.emplace_back(list.rows().name(i));
    return names;
}

} // namespace

class SearchRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<Window> m_window;
    std::string m_location;
    std::string m_masks;
    std::unique_ptr<SearchRun> m_run;
    std::unique_ptr<QSignalSpy> m_runningChanges;

    static bool threaded() {
        QFETCH_GLOBAL(bool, threaded);
        return threaded;
    }

    // A new search run whose worker may record Capacity rows before it waits.
    void makeRun(std::size_t capacity) {
        m_run = std::make_unique<SearchRun>(
            m_window->controls(), [this] { return m_location; }, [this] { return m_masks; },
            capacity);
        m_run->FindFile().SetThreaded(threaded());
        m_runningChanges = std::make_unique<QSignalSpy>(m_run.get(), &SearchRun::runningChanged);
    }

    void searchIn(const TempFolder& tree, const std::string& masks) {
        m_location = tree.root() + ";";
        m_masks = masks;
    }

    // Serves the event loop until the search has finished.
    bool finish() {
        QDeadlineTimer deadline(finishTimeout);
        while (m_run->FindFile().Busy() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return !m_run->FindFile().Busy();
    }

    void verifyFinished() {
        QVERIFY(!m_run->running());
        QCOMPARE(m_runningChanges->count(), 2);
        QCOMPARE(m_runningChanges->at(0).at(0).toBool(), true);
        QCOMPARE(m_runningChanges->at(1).at(0).toBool(), false);
        QVERIFY(!m_window->bar.isVisibleTo(&m_window->widget));
        const QRegularExpressionMatch match = summaryLabel.match(m_window->label.text());
        QVERIFY2(match.hasMatch(), qPrintable(m_window->label.text()));
        QVERIFY(m_window->label.text().startsWith(m_run->SearchSummary()));
        QCOMPARE(match.captured(1), velmaro::SizeToText(static_cast<double>(m_run->FoundSize())));
    }

    void verifyFinishBox(bool shown) {
        QCOMPARE(m_prompts->messages.size(), shown ? 1 : 0);
        if (shown) {
            QCOMPARE(m_prompts->messages[0].icon, Icon::Information);
            QCOMPARE(m_prompts->messages[0].title, QStringLiteral("Поиск"));
            QCOMPARE(m_prompts->messages[0].text, finishedBox);
        }
    }

private Q_SLOTS:
    void initTestCase_data() {
        QTest::addColumn<bool>("threaded");
        QTest::newRow("worker thread") << true;
        QTest::newRow("GUI thread") << false;
    }

    void initTestCase() { QVERIFY(velmaro::platform::CodePage::select("UTF-8")); }

    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_prompts = std::make_unique<RecordingPrompts>();
        m_window = std::make_unique<Window>();
        m_location.clear();
        m_masks.clear();
        makeRun(velmaro::SearchHandOff::DefaultCapacity);
    }

    void cleanup() {
        m_runningChanges.reset();
        m_run.reset();
        m_window.reset();
        m_prompts.reset();
        QVERIFY(velmaro::platform::CodePage::select("UTF-8"));
    }

    void searchThatFindsNothing() {
        const TempFolder tree;
        tree.file("keep.txt");
        searchIn(tree, "*.tmp;");
        bool clearedWhenStarted = false;
        connect(m_run.get(), &SearchRun::runningChanged, this, [&](bool running) {
            if (running)
                clearedWhenStarted = m_run->running() && m_window->results.rowCount() == 0;
        });
        m_run->Act_StartFindExecute();
        if (threaded()) {
            QVERIFY(m_run->running());
            QVERIFY(m_window->bar.isVisibleTo(&m_window->widget));
        }
        QVERIFY(finish());

        QVERIFY(clearedWhenStarted);
        QCOMPARE(m_window->results.rowCount(), 0);
        verifyFinished();
        QVERIFY(m_window->label.text().endsWith(QStringLiteral(" Размер найденых файлов: 0 b.")));
        verifyFinishBox(true);
    }

    // In one folder every file matches both masks and is reported once per mask: a report of
    // a file in one of the last two rows adds nothing, also when those rows went to the list
    // in an earlier batch.
    void duplicateReports_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("listedEach");
        QTest::addColumn<int>("capacity");
        QTest::newRow("two files listed once each") << 2 << 1 << 100;
        QTest::newRow("three files listed twice each") << 3 << 2 << 100;
        QTest::newRow("two files, a batch for every row") << 2 << 1 << 1;
        QTest::newRow("three files, a batch for every two rows") << 3 << 2 << 2;
    }
    void duplicateReports() {
        QFETCH(int, files);
        QFETCH(int, listedEach);
        QFETCH(int, capacity);
        makeRun(static_cast<std::size_t>(capacity));
        const TempFolder tree;
        std::int64_t sizes = 0;
        for (int i = 0; i < files; ++i) {
            tree.file("f" + std::to_string(i) + ".tmp", std::string(100 * (i + 1), 'x'));
            sizes += 100 * (i + 1);
        }
        searchIn(tree, "*.tmp;f*;");
        m_run->Act_StartFindExecute();
        QVERIFY(finish());

        std::map<std::string, int> listed;
        for (const std::string& name : rowNames(m_window->results))
            ++listed[name];
        QCOMPARE(listed.size(), std::size_t(files));
        for (const auto& [name, count] : listed)
            QCOMPARE(count, listedEach);
        QCOMPARE(m_run->FoundSize(), sizes * listedEach);
        verifyFinished();
        verifyFinishBox(true);
    }

    void rowCarriesRawBytesAndDisplayTexts_data() {
        QTest::addColumn<QByteArray>("codePage");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("not valid UTF-8") << QByteArray("UTF-8") << QByteArray("bad\xff\xfe.tmp")
                                         << QStringLiteral("bad\uFFFD\uFFFD.tmp");
        QTest::newRow("CP1251") << QByteArray("CP1251") << QByteArray("\xe0\xe1\xc2.tmp")
                                << QStringLiteral("абВ.tmp");
        QTest::newRow("letter case kept")
            << QByteArray("UTF-8") << QByteArray("Mixed.TMP") << QStringLiteral("Mixed.TMP");
    }
    void rowCarriesRawBytesAndDisplayTexts() {
        QFETCH(QByteArray, codePage);
        QFETCH(QByteArray, name);
        QFETCH(QString, caption);
        QVERIFY(velmaro::platform::CodePage::select(codePage.toStdString()));
        const TempFolder tree;
        tree.file(name.toStdString(), std::string(1536, 'x'));
        searchIn(tree, "*.tmp;");
        m_run->Act_StartFindExecute();
        QVERIFY(finish());

        const ResultListModel& list = m_window->results;
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.rows().name(0), name.toStdString());
        QCOMPARE(list.rows().folder(0), tree.root());
        QCOMPARE(list.rows().fileSize(0), std::int64_t(1536));
        const auto text = [&](int column) { return list.index(0, column).data().toString(); };
        QCOMPARE(text(0), caption);
        QCOMPARE(text(1), QString::fromStdString(tree.root()));
        QCOMPARE(text(2), QStringLiteral("1,5 Kb"));
        // Created just now: today's date in the short format, then the long time.
        const QString today = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
        QVERIFY2(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(today) +
                                    QStringLiteral("( \\d\\d:\\d\\d:\\d\\d)?$"))
                     .match(text(3))
                     .hasMatch(),
                 qPrintable(text(3)));
        QVERIFY(list.rows().isChecked(0));
    }

    // The stop arrives on the GUI thread while the worker waits after its third report, in the
    // middle of a batch of two: every row found so far is listed, checked, and the walk reports
    // nothing more. The next search starts with an empty list.
    void stoppedSearchListsEveryRowFoundWithoutBox() {
        makeRun(2);
        const TempFolder tree;
        for (int i = 0; i < 50; ++i)
            tree.file("f" + std::to_string(i) + ".tmp", std::string(10, 'x'));
        searchIn(tree, "*.tmp;");
        GuiHandOff probe(*this);
        int reports = 0;
        m_run->FindFile().OnFileMatch = [&](TFindFile& sender, const TFileDetails& file) {
            m_run->FindFileFileMatch(sender, file);
            if (++reports == 3)
                probe.run([this] { m_run->Act_StopFindExecute(); });
        };
        m_run->Act_StartFindExecute();
        QVERIFY(finish());

        QCOMPARE(reports, 3);
        QCOMPARE(m_window->results.rowCount(), 3);
        for (std::size_t i = 0; i < 3; ++i)
            QVERIFY(m_window->results.rows().isChecked(i));
        QCOMPARE(m_run->FoundSize(), std::int64_t(30));
        verifyFinished();
        verifyFinishBox(false);

        m_run->FindFile().OnFileMatch = [&](TFindFile& sender, const TFileDetails& file) {
            m_run->FindFileFileMatch(sender, file);
        };
        m_run->Act_StartFindExecute();
        QVERIFY(finish());
        QCOMPARE(m_window->results.rowCount(), 50);
    }

    // Folder 1 is shown at once, folders 2 to 51 are not, folder 52 is; the bar advances on 40
    // folders of every 51 and wraps at 100, whether the recorded changes reach the controls
    // after every folder or all at once, and the next search continues from its position.
    void folderLabelAndProgress_data() {
        QTest::addColumn<bool>("applyEachFolder");
        QTest::newRow("applied after every folder") << true;
        QTest::newRow("applied at the finish") << false;
    }
    void folderLabelAndProgress() {
        QFETCH(bool, applyEachFolder);
        const TempFolder tree;
        for (int i = 1; i < 160; ++i)
            tree.folder("d" + std::to_string(i));
        searchIn(tree, "*.tmp;");

        GuiHandOff probe(*this);
        std::vector<std::string> folders;
        std::vector<QString> labels;
        std::vector<int> bar;
        m_run->FindFile().OnFolderChange = [&](TFindFile& sender, const std::string& folder,
                                               TFolderIgnore& ignore) {
            m_run->FindFileFolderChange(sender, folder, ignore);
            folders.push_back(folder);
            if (applyEachFolder)
                probe.run([&] {
                    m_run->applyRecorded();
                    labels.push_back(m_window->label.text());
                    bar.push_back(m_window->bar.value());
                });
        };
        m_run->Act_StartFindExecute();
        QVERIFY(finish());

        QCOMPARE(folders.size(), std::size_t(160));
        QCOMPARE(folders[0], tree.root());
        if (applyEachFolder) {
            QCOMPARE(labels.size(), std::size_t(160));
            const auto shown = [&](std::size_t index) {
                return QString::fromStdString(folders[index]);
            };
            QCOMPARE(labels[0], shown(0));
            for (std::size_t i = 1; i < 51; ++i)
                QCOMPARE(labels[i], shown(0));
            QCOMPARE(labels[51], shown(51));
            QCOMPARE(labels[101], shown(51));
            QCOMPARE(labels[102], shown(102));
            QCOMPARE(labels[153], shown(153));
            // Counter values 51, 0 to 10 leave the bar; 11 to 50 advance it.
            QCOMPARE(bar[10], 0);
            QCOMPARE(bar[11], 1);
            QCOMPARE(bar[50], 40);
            QCOMPARE(bar[62], 41);
        }
        QCOMPARE(m_window->bar.value(), 20); // 3 x 40 advances, wrapped once

        m_run->Act_StartFindExecute();
        QVERIFY(finish());
        QCOMPARE(m_window->bar.value(), 40);
    }

    void refusedStartChangesNothing_data() {
        QTest::addColumn<bool>("location");
        QTest::addColumn<bool>("masks");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no location")
            << false << true << QStringLiteral("Выберите места для поиска.");
        QTest::newRow("no type") << true << false
                                 << QStringLiteral("Выберите типы файлов для поиска.");
        QTest::newRow("neither") << false << false << QStringLiteral("Выберите места для поиска.");
    }
    void refusedStartChangesNothing() {
        QFETCH(bool, location);
        QFETCH(bool, masks);
        QFETCH(QString, warning);
        const TempFolder tree;
        tree.file("a.tmp", std::string(5, 'x'));
        searchIn(tree, "*.tmp;");
        m_run->Act_StartFindExecute();
        QVERIFY(finish());
        m_prompts->messages.clear();
        m_runningChanges->clear();
        const Snapshot before(*m_window);
        const QString summary = m_run->SearchSummary();
        QCOMPARE(before.rows, 1);

        if (!location)
            m_location.clear();
        if (!masks)
            m_masks.clear();
        m_run->Act_StartFindExecute();

        QVERIFY(!m_run->FindFile().Busy());
        QVERIFY(!m_run->running());
        QCOMPARE(m_runningChanges->count(), 0);
        QCOMPARE(m_prompts->messages.size(), 1);
        QCOMPARE(m_prompts->messages[0].icon, Icon::Warning);
        QCOMPARE(m_prompts->messages[0].title, QString());
        QCOMPARE(m_prompts->messages[0].text, warning);
        QVERIFY(Snapshot(*m_window) == before);
        QCOMPARE(m_run->SearchSummary(), summary);
        // Both strings are set before the test and keep the values it saw.
        QCOMPARE(m_run->FindFile().Criteria().Files().Location(), m_location);
        QCOMPARE(m_run->FindFile().Criteria().Files().FileName(), m_masks);
    }

    // The GUI thread serves no event while the worker fills its hand-off and waits for room.
    // Closing releases the worker and drops what it recorded; destroying the run joins it,
    // or the event loop goes on and the search finishes without box.
    void closingWhileTheGuiThreadIsBusy_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("window destroyed") << true;
        QTest::newRow("window closed, event loop goes on") << false;
    }
    void closingWhileTheGuiThreadIsBusy() {
        QFETCH(bool, destroy);
        if (!threaded())
            QSKIP("a search on the GUI thread has finished before the window can be closed");
        makeRun(2);
        const TempFolder tree;
        for (int i = 0; i < 20; ++i)
            tree.file("f" + std::to_string(i) + ".tmp");
        searchIn(tree, "*.tmp;");
        m_window->label.setText(QStringLiteral("before"));
        m_run->Act_StartFindExecute();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

        m_run->Close();
        if (destroy) {
            m_run.reset();
            QCoreApplication::processEvents();
            QCOMPARE(m_window->label.text(), QStringLiteral("before"));
        } else {
            QVERIFY(finish());
            verifyFinished();
        }
        QCOMPARE(m_window->results.rowCount(), 0);
        verifyFinishBox(false);
    }

    // An error on the worker is shown in the box "Application Error", and the search then
    // finishes as usual. On the GUI thread the error leaves the start after the finish.
    void errorInTheWalk() {
        const TempFolder tree;
        tree.file("a.tmp");
        searchIn(tree, "*.tmp;");
        m_run->FindFile().OnFileMatch = [](TFindFile&, const TFileDetails&) {
            throw std::runtime_error("disk on fire");
        };
        if (threaded()) {
            m_run->Act_StartFindExecute();
            QVERIFY(finish());
            QCOMPARE(m_prompts->messages.size(), 2);
            QCOMPARE(m_prompts->messages[0].icon, Icon::Critical);
            QCOMPARE(m_prompts->messages[0].title, QStringLiteral("Application Error"));
            QCOMPARE(m_prompts->messages[0].text, QStringLiteral("runtime_error: disk on fire"));
            m_prompts->messages.removeFirst();
        } else {
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_run->Act_StartFindExecute());
        }
        verifyFinished();
        verifyFinishBox(true);
    }
};

QTEST_MAIN(SearchRunTest)
#include "SearchRunTest.moc"
