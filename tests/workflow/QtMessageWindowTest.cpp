// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/QtMessageWindow.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <memory>
#include <thread>
#include <vector>

using velmaro::QtMessageWindow;

class QtMessageWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void callsRunOnOwnerThreadInOrder() {
        QtMessageWindow window;
        std::vector<int> order;
        std::vector<QThread*> threads;
        std::thread worker([&] {
            for (int i = 0; i < 3; ++i)
                window.post([&, i] {
                    order.push_back(i);
                    threads.push_back(QThread::currentThread());
                });
        });
        worker.join();
        QVERIFY(order.empty());
        QTRY_COMPARE(order.size(), std::size_t(3));
        QCOMPARE(order, (std::vector<int>{0, 1, 2}));
        for (QThread* thread : threads)
            QCOMPARE(thread, QThread::currentThread());
    }

    void destroyedWindowDropsQueuedCalls() {
        auto window = std::make_unique<QtMessageWindow>();
        int runs = 0;
        window->post([&] { ++runs; });
        window.reset();
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);
    }
};

QTEST_GUILESS_MAIN(QtMessageWindowTest)
#include "QtMessageWindowTest.moc"
