// SPDX-License-Identifier: GPL-3.0-or-later
// Worker-to-GUI hand-overs: the change runs on the GUI thread before the worker goes on, and
// a GUI thread that stops serving events can still release a waiting worker.

#include "workflow/GuiHandOff.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

using velmaro::GuiHandOff;

namespace {

// A worker thread that hands one change over, and tells when it is about to and when it is
// back.
class HandingWorker {
public:
    HandingWorker(GuiHandOff& handOff, std::atomic<int>& runs, QThread*& runThread)
        : m_thread([&] {
              m_started = true;
              m_result = handOff.run([&] {
                  runThread = QThread::currentThread();
                  ++runs;
              });
              m_returned = true;
          }) {}
    ~HandingWorker() { join(); }

    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    // Waits until the worker is inside run() (or just about to enter it), then a little more so
    // that it has posted its change and sleeps on the condition variable.
    void waitUntilStarted() const {
        while (!m_started)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool returned() const { return m_returned; }
    bool result() const { return m_result; }

private:
    std::atomic<bool> m_started = false;
    std::atomic<bool> m_returned = false;
    std::atomic<bool> m_result = false;
    std::thread m_thread;
};

// Hands Change over from a thread of its own and returns run()'s answer once that thread ended.
bool runFromWorker(GuiHandOff& handOff, std::function<void()> change) {
    bool result = false;
    std::thread([&] { result = handOff.run(std::move(change)); }).join();
    return result;
}

} // namespace

class GuiHandOffTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeRunsOnGuiThreadBeforeWorkerGoesOn() {
        QObject context;
        GuiHandOff handOff(context);
        std::atomic<int> runs = 0;
        QThread* runThread = nullptr;
        HandingWorker worker(handOff, runs, runThread);
        worker.waitUntilStarted();
        QVERIFY(!worker.returned()); // the GUI has not served its events yet
        QTRY_VERIFY(worker.returned());
        worker.join();
        QVERIFY(worker.result());
        QCOMPARE(runs.load(), 1);
        QCOMPARE(runThread, QThread::currentThread());
    }

    void abortReleasesWorkerAndChangeStillRuns() {
        QObject context;
        GuiHandOff handOff(context);
        std::atomic<int> runs = 0;
        QThread* runThread = nullptr;
        HandingWorker worker(handOff, runs, runThread);
        worker.waitUntilStarted();
        handOff.abort();
        worker.join(); // no event served: only the abort can release it
        QVERIFY(!worker.result());
        QCOMPARE(runs.load(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(runs.load(), 1);

        // Aborted, later hand-overs queue without waiting; reopened, they wait again.
        QVERIFY(!runFromWorker(handOff, [&] { ++runs; }));
        QCoreApplication::processEvents();
        QCOMPARE(runs.load(), 2);
        handOff.reopen();
        HandingWorker next(handOff, runs, runThread);
        QTRY_VERIFY(next.returned());
        next.join();
        QVERIFY(next.result());
        QCOMPARE(runs.load(), 3);
    }

    void closeReleasesWorkerAndDropsChange() {
        auto context = std::make_unique<QObject>();
        GuiHandOff handOff(*context);
        std::atomic<int> runs = 0;
        QThread* runThread = nullptr;
        HandingWorker worker(handOff, runs, runThread);
        worker.waitUntilStarted();
        handOff.close();
        worker.join();
        QVERIFY(!worker.result());
        QCoreApplication::processEvents();
        QCOMPARE(runs.load(), 0);
        QVERIFY(!runFromWorker(handOff, [&] { ++runs; }));
        context.reset();
        QCoreApplication::processEvents();
        QCOMPARE(runs.load(), 0);
    }

    void destroyedContextNeverRunsQueuedChange() {
        auto context = std::make_unique<QObject>();
        GuiHandOff handOff(*context);
        handOff.abort(); // queue without waiting
        std::atomic<int> runs = 0;
        QVERIFY(!runFromWorker(handOff, [&] { ++runs; }));
        context.reset();
        QCoreApplication::processEvents();
        QCOMPARE(runs.load(), 0);
    }

    // A search run on the GUI thread itself hands nothing over: the change runs at once.
    void changeOnContextThreadRunsAtOnce() {
        QObject context;
        GuiHandOff handOff(context);
        int runs = 0;
        QVERIFY(handOff.run([&] { ++runs; }));
        QCOMPARE(runs, 1);
        handOff.close();
        QVERIFY(!handOff.run([&] { ++runs; }));
        QCOMPARE(runs, 1);
    }
};

QTEST_GUILESS_MAIN(GuiHandOffTest)
#include "GuiHandOffTest.moc"
