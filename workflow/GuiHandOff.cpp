// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/GuiHandOff.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <utility>

namespace velmaro {

GuiHandOff::GuiHandOff(QObject& context) : m_context(context), m_state(std::make_shared<State>()) {}

GuiHandOff::~GuiHandOff() {
    close();
}

bool GuiHandOff::run(std::function<void()> Change) {
    std::unique_lock lock(m_state->mutex);
    if (m_state->mode == Mode::Closed)
        return false;
    if (QThread::currentThread() == m_context.thread()) {
        // A search that runs on the GUI thread itself: nothing to hand over.
        lock.unlock();
        Change();
        return true;
    }
    const unsigned long long number = ++m_state->queued;
    // Posting under the lock: close() cannot slip in between the test above and the post, so
    // nothing is posted to a context that the GUI thread is about to destroy.
    QMetaObject::invokeMethod(
        &m_context,
        [state = m_state, number, change = std::move(Change)] {
            {
                std::lock_guard guard(state->mutex);
                if (state->mode == Mode::Closed)
                    return;
            }
            // Outside the lock: the change may open a modal box whose event loop runs the
            // next queued change.
            change();
            std::lock_guard guard(state->mutex);
            state->done = std::max(state->done, number);
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    m_state->changed.wait(lock,
                          [&] { return m_state->mode != Mode::Open || m_state->done >= number; });
    return m_state->done >= number;
}

void GuiHandOff::reopen() {
    setMode(Mode::Open);
}

void GuiHandOff::abort() {
    std::lock_guard lock(m_state->mutex);
    if (m_state->mode == Mode::Open)
        m_state->mode = Mode::Aborted;
    m_state->changed.notify_all();
}

void GuiHandOff::close() {
    setMode(Mode::Closed);
}

void GuiHandOff::setMode(Mode mode) {
    std::lock_guard lock(m_state->mutex);
    m_state->mode = mode;
    m_state->changed.notify_all();
}

} // namespace velmaro
