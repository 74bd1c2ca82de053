// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace velmaro {

// Hands changes from a worker thread to the thread of a context object (the GUI thread) and
// waits until they took effect there. The change is queued into the context's event loop and
// the worker waits on a condition variable, not in a blocking queued call, so that the GUI
// thread may stop the worker and join it without a deadlock:
//   - abort(): the worker no longer waits; changes already queued and those handed over later
//     still run, in order, on the GUI thread.
//   - close(): the worker no longer waits, queued changes that have not run yet are dropped and
//     later hand-overs are ignored. After close() the GUI thread may join the worker at once.
// Queued changes never run once the context object is destroyed.
class GuiHandOff {
public:
    // Context lives on the thread that runs the changes and must outlive this object's use.
    explicit GuiHandOff(QObject& context);
    // Closes the hand-off, so that a worker still waiting in run() returns.
    ~GuiHandOff();
    GuiHandOff(const GuiHandOff&) = delete;
    GuiHandOff& operator=(const GuiHandOff&) = delete;

    // Any thread: queues Change to run on the context's thread and waits until it has run, the
    // hand-off is aborted or closed. Returns true when Change ran before run() returned. On the
    // context's own thread Change runs at once (unless the hand-off is closed).
    bool run(std::function<void()> Change);

    // GUI thread, at the start of a search: waiting and running as usual again.
    void reopen();
    // Any thread: wakes a waiting worker and lets later calls return without waiting.
    void abort();
    // GUI thread: as abort(), and no queued or later change runs any more.
    void close();

private:
    enum class Mode { Open, Aborted, Closed };
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        Mode mode = Mode::Open;
        // Hand-overs are numbered as they are queued; changes run in that order, and the
        // highest number that has run tells a waiting worker that its change took effect.
        unsigned long long queued = 0;
        unsigned long long done = 0;
    };

    void setMode(Mode mode);

    QObject& m_context;
    std::shared_ptr<State> m_state;
};

} // namespace velmaro
