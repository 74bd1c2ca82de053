// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <functional>

// How late the GUI thread serves events: a precise 10 ms timer that notes the longest gap
// between two of its ticks beyond the 10 ms. OnTick, when set, runs at every tick. GUI thread.
class GuiLateness {
public:
    static constexpr int periodMs = 10;

    GuiLateness() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_worst = std::max(m_worst, now - m_lastTick - periodMs * 1'000'000LL);
            m_lastTick = now;
            ++m_ticks;
            if (onTick)
                onTick();
        });
    }

    std::function<void()> onTick;

    void start() {
        m_clock.start();
        m_lastTick = 0;
        m_timer.start(periodMs);
    }
    void stop() { m_timer.stop(); }

    int ticks() const { return m_ticks; }
    // The longest lateness so far, in milliseconds.
    double worstMs() const { return static_cast<double>(m_worst) / 1e6; }

private:
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_lastTick = 0;
    qint64 m_worst = 0;
    int m_ticks = 0;
};
