// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/SearchHandOff.h"

#include "engine/FileDetails.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <utility>

namespace velmaro {

namespace {

// The bytes of folders and names that may wait, whatever the number of rows.
constexpr std::size_t byteCapacity = std::size_t(32) << 20;

} // namespace

bool SearchHandOff::RecentFiles::contains(std::string_view Folder, std::string_view Name) const {
    // Folders end in "/" and names hold none, so comparing the parts compares the full paths.
    for (const File& file : m_files)
        if (file.used && file.name == Name && file.folder == Folder)
            return true;
    return false;
}

void SearchHandOff::RecentFiles::add(std::string_view Folder, std::string_view Name) {
    m_newest = 1 - m_newest;
    File& file = m_files[m_newest];
    // assign() keeps the strings' memory, so a long search allocates nothing here.
    file.folder.assign(Folder);
    file.name.assign(Name);
    file.used = true;
}

void SearchHandOff::RecentFiles::clear() {
    for (File& file : m_files)
        file.used = false;
}

SearchHandOff::SearchHandOff(QObject& Context, std::function<void()> Apply, std::size_t Capacity)
    : m_context(Context), m_capacity(std::max<std::size_t>(Capacity, 1)),
      m_state(std::make_shared<State>()) {
    m_state->apply = std::move(Apply);
}

SearchHandOff::~SearchHandOff() {
    close();
}

bool SearchHandOff::isFull(std::size_t Limit, std::size_t ByteLimit) const {
    return m_state->rows.size() >= Limit || m_state->rows.byteCount() >= ByteLimit;
}

bool SearchHandOff::addRow(const TFileDetails& File) {
    State& state = *m_state;
    const bool onContextThread = QThread::currentThread() == m_context.thread();
    std::unique_lock lock(state.mutex);
    if (state.mode == Mode::Closed || m_recent.contains(File.Location, File.Name))
        return false;
    if (isFull(m_capacity, byteCapacity)) {
        if (onContextThread) {
            // A search on the GUI thread itself: nobody else could take the rows.
            lock.unlock();
            state.apply();
            lock.lock();
        } else {
            requestApply();
            state.space.wait(lock, [&] {
                return state.mode != Mode::Open || !isFull(m_capacity, byteCapacity);
            });
        }
        if (state.mode == Mode::Closed)
            return false;
    }
    state.rows.append(File);
    m_recent.add(File.Location, File.Name);
    if (!onContextThread && isFull(m_capacity / 2, byteCapacity / 2))
        requestApply();
    return true;
}

void SearchHandOff::showFolder(std::string_view Folder) {
    std::lock_guard lock(m_state->mutex);
    if (m_state->mode != Mode::Closed)
        m_state->folder = std::string(Folder);
}

void SearchHandOff::stepBar() {
    std::lock_guard lock(m_state->mutex);
    if (m_state->mode != Mode::Closed)
        ++m_state->barSteps;
}

void SearchHandOff::requestApply() {
    State& state = *m_state;
    if (state.applyRequested || state.mode == Mode::Closed)
        return;
    state.applyRequested = true;
    // Posted under the lock, so close() cannot slip in between the test and the post.
    QMetaObject::invokeMethod(
        &m_context,
        [weak = std::weak_ptr<State>(m_state)] {
            const std::shared_ptr<State> state = weak.lock();
            if (!state)
                return;
            std::function<void()> apply;
            {
                std::lock_guard guard(state->mutex);
                if (state->mode == Mode::Closed)
                    return;
                apply = state->apply;
            }
            apply();
        },
        Qt::QueuedConnection);
}

SearchHandOff::Recorded SearchHandOff::take(ResultRowStore& Rows) {
    State& state = *m_state;
    Recorded recorded;
    // Cleared outside the lock; the store then goes back to the worker with its memory.
    Rows.clear();
    {
        std::lock_guard lock(state.mutex);
        state.applyRequested = false;
        if (state.mode == Mode::Closed)
            return recorded;
        std::swap(Rows, state.rows);
        recorded.folder = std::exchange(state.folder, std::nullopt);
        recorded.barSteps = std::exchange(state.barSteps, 0);
    }
    state.space.notify_all();
    return recorded;
}

void SearchHandOff::reopen() {
    std::lock_guard lock(m_state->mutex);
    m_state->mode = Mode::Open;
    m_state->applyRequested = false;
    m_state->rows.clear();
    m_state->folder.reset();
    m_state->barSteps = 0;
    // No worker runs between two searches.
    m_recent.clear();
}

void SearchHandOff::abort() {
    std::lock_guard lock(m_state->mutex);
    if (m_state->mode == Mode::Open)
        m_state->mode = Mode::Aborted;
    m_state->space.notify_all();
}

void SearchHandOff::close() {
    std::lock_guard lock(m_state->mutex);
    m_state->mode = Mode::Closed;
    m_state->rows.clear();
    m_state->folder.reset();
    m_state->barSteps = 0;
    m_state->space.notify_all();
}

} // namespace velmaro
