// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over from the search worker to the GUI thread: rows, folder and bar steps recorded
// without waiting, the duplicate test over rows taken and waiting, and the back-pressure that
// abort and close release.

#include "workflow/SearchHandOff.h"

#include "engine/FileDetails.h"

#include <QCoreApplication>
#include <QTest>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using velmaro::ResultRowStore;
using velmaro::SearchHandOff;
using velmaro::TFileDetails;

namespace {

TFileDetails file(const std::string& name, const std::string& folder = "/d/") {
    TFileDetails details;
    details.Location = folder;
    details.Name = name;
    return details;
}

std::vector<std::string> names(const ResultRowStore& rows) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < rows.size(); ++i)
        result.emplace_back(rows.name(i));
    return result;
}

// Records files from a thread of its own and tells when it is done.
class Worker {
public:
    Worker(SearchHandOff& handOff, std::vector<std::string> files)
        : m_thread([this, &handOff, files] {
              for (const std::string& name : files)
                  m_accepted.push_back(handOff.addRow(file(name)));
              m_done = true;
          }) {}
    ~Worker() { join(); }

    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool done() const { return m_done; }
    // Read after join().
    const std::vector<bool>& accepted() const { return m_accepted; }

private:
    std::vector<bool> m_accepted;
    std::atomic<bool> m_done = false;
    std::thread m_thread;
};

// Long enough for a worker that does not wait to have finished a few records.
void letWorkerRun() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

} // namespace

class SearchHandOffTest : public QObject {
    Q_OBJECT

    QObject m_context;
    ResultRowStore m_taken;
    int m_applies = 0;

    SearchHandOff::Recorded take(SearchHandOff& handOff) { return handOff.take(m_taken); }

private Q_SLOTS:
    void init() { m_applies = 0; }

    // Nothing waits while the buffer has room; the GUI takes rows, the last folder and every
    // bar step at once.
    void recordsWithoutWaiting() {
        SearchHandOff handOff(
            m_context, [&] { ++m_applies; }, 100);
        // Test macros report on the test's own thread, so the worker only notes its answers.
        bool addedA = false;
        bool addedB = false;
        std::thread worker([&] {
            addedA = handOff.addRow(file("a"));
            handOff.showFolder("/one/");
            handOff.stepBar();
            addedB = handOff.addRow(file("b"));
            handOff.showFolder("/two/");
            handOff.stepBar();
            handOff.stepBar();
        });
        worker.join(); // no event served meanwhile
        QVERIFY(addedA);
        QVERIFY(addedB);
        const SearchHandOff::Recorded recorded = take(handOff);
        QCOMPARE(names(m_taken), (std::vector<std::string>{"a", "b"}));
        QCOMPARE(recorded.folder, std::optional<std::string>("/two/"));
        QCOMPARE(recorded.barSteps, 3);
        const SearchHandOff::Recorded again = take(handOff);
        QVERIFY(m_taken.empty());
        QVERIFY(!again.folder);
        QCOMPARE(again.barSteps, 0);
        QCoreApplication::processEvents();
        QCOMPARE(m_applies, 0); // far from full: no hurry
    }

    // A report of a file that is one of the last two rows recorded adds nothing, whether those
    // rows were taken already ("|") or still wait.
    void duplicates_data() {
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QString>("listed");
        QTest::newRow("last row") << "aa"
                                  << "a";
        QTest::newRow("second-to-last row") << "aba"
                                            << "ab";
        QTest::newRow("third-to-last row") << "abca"
                                           << "abca";
        QTest::newRow("last row taken") << "a|a"
                                        << "a";
        QTest::newRow("second-to-last taken, last waiting") << "a|ba"
                                                            << "ab";
        QTest::newRow("both taken") << "ab|ab"
                                    << "ab";
        QTest::newRow("three files, two masks, batch between") << "ab|cabc"
                                                               << "abcabc";
    }
    void duplicates() {
        QFETCH(QString, reports);
        QFETCH(QString, listed);
        SearchHandOff handOff(
            m_context, [] {}, 100);
        QString all;
        const auto takeAll = [&] {
            take(handOff);
            for (const std::string& name : names(m_taken))
                all += QString::fromStdString(name);
        };
        for (QChar report : reports) {
            if (report == u'|')
                takeAll();
            else
                handOff.addRow(file(std::string(1, report.toLatin1())));
        }
        takeAll();
        QCOMPARE(all, listed);
        // Letter case and folder count: these are other files.
        handOff.reopen();
        QVERIFY(handOff.addRow(file("a")));
        QVERIFY(handOff.addRow(file("A")));
        QVERIFY(handOff.addRow(file("a", "/e/")));
        QVERIFY(!handOff.addRow(file("A")));
    }

    // With Capacity rows waiting the worker asks the GUI thread to take them and waits until
    // it has.
    void fullBufferWaitsForTheGuiThread() {
        SearchHandOff handOff(
            m_context,
            [&] {
                ++m_applies;
                take(handOff);
            },
            4);
        Worker worker(handOff, {"a", "b", "c", "d", "e"});
        letWorkerRun();
        QVERIFY(!worker.done());
        QTRY_VERIFY(worker.done());
        worker.join();
        QVERIFY(m_applies >= 1);
        take(handOff);
        QCOMPARE(worker.accepted(), std::vector<bool>(5, true));
    }

    // Stopping releases a waiting worker, and every row it recorded is still taken.
    void abortReleasesTheWorkerAndKeepsTheRows() {
        SearchHandOff handOff(
            m_context, [&] { ++m_applies; }, 2);
        Worker worker(handOff, {"a", "b", "c"});
        letWorkerRun();
        QVERIFY(!worker.done());
        handOff.abort();
        worker.join(); // no event served: only the abort can release it
        QCOMPARE(worker.accepted(), std::vector<bool>(3, true));
        take(handOff);
        QCOMPARE(names(m_taken), (std::vector<std::string>{"a", "b", "c"}));
        // Aborted, a full buffer no longer makes anyone wait.
        std::thread([&] {
            for (const char* name : {"d", "e", "f"})
                handOff.addRow(file(name));
        }).join();
        take(handOff);
        QCOMPARE(m_taken.size(), std::size_t(3));
    }

    // Closing releases a waiting worker, drops what waits, ignores later records and never
    // runs Apply again, not even a request already on its way.
    void closeReleasesTheWorkerAndDropsTheRows() {
        SearchHandOff handOff(
            m_context, [&] { ++m_applies; }, 2);
        Worker worker(handOff, {"a", "b", "c"});
        letWorkerRun();
        QVERIFY(!worker.done());
        handOff.close();
        worker.join();
        QCOMPARE(worker.accepted(), (std::vector<bool>{true, true, false}));
        QVERIFY(!handOff.addRow(file("d")));
        handOff.showFolder("/x/");
        handOff.stepBar();
        const SearchHandOff::Recorded recorded = take(handOff);
        QVERIFY(m_taken.empty());
        QVERIFY(!recorded.folder);
        QCOMPARE(recorded.barSteps, 0);
        QCoreApplication::processEvents();
        QCOMPARE(m_applies, 0);

        handOff.reopen();
        QVERIFY(handOff.addRow(file("a")));
        take(handOff);
        QCOMPARE(names(m_taken), std::vector<std::string>{"a"});
    }

    // A search on the GUI thread itself: a full buffer is applied at once, nothing waits.
    void onTheGuiThreadAFullBufferIsAppliedAtOnce() {
        std::vector<std::string> listed;
        SearchHandOff handOff(
            m_context,
            [&] {
                ++m_applies;
                take(handOff);
                for (const std::string& name : names(m_taken))
                    listed.push_back(name);
            },
            2);
        for (const char* name : {"a", "b", "c", "d", "e"})
            QVERIFY(handOff.addRow(file(name)));
        QCOMPARE(m_applies, 2);
        QCOMPARE(listed, (std::vector<std::string>{"a", "b", "c", "d"}));
        QCoreApplication::processEvents();
        QCOMPARE(m_applies, 2); // nothing was posted
    }
};

QTEST_GUILESS_MAIN(SearchHandOffTest)
#include "SearchHandOffTest.moc"
