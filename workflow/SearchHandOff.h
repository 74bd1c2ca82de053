// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workflow/ResultRowStore.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class QObject;

namespace velmaro {

struct TFileDetails;

// Carries what a search finds from the search worker to the GUI thread without making the
// worker wait for it: the worker records each row it accepts, the folder the folder label is to
// show and the steps of the progress bar; the GUI thread takes what is recorded and moves it
// into its controls in batches (on its own timer, and when the search finishes).
//
// A row is accepted unless its file is one of the last two rows recorded (byte for byte); the
// rows recorded are exactly the rows of the list followed by those still waiting, because
// nothing else changes the list while a search runs.
//
// Back-pressure: when half of Capacity rows (or of 32 MiB of bytes) wait, the worker asks the
// GUI thread once to take them (a queued call of Apply on the context's thread); when all of
// Capacity wait, it waits until they are taken, or until the hand-off is aborted or closed.
// A search that runs on the context's thread itself never waits: a full buffer is applied at
// once by calling Apply there.
//
// Threads: addRow, showFolder and stepBar come from one thread at a time, the walking one.
// take, reopen and close run on the context's thread; abort on any thread.
//   - abort(): the worker no longer waits; every row recorded before or after is still taken,
//     so a stopped search lists every row it found.
//   - close(): the worker no longer waits; what waits is dropped and later records are ignored,
//     and Apply never runs again. After close() the GUI thread may join the worker at once.
// Apply never runs once the hand-off is closed or destroyed.
class SearchHandOff {
public:
    static constexpr std::size_t DefaultCapacity = 131072;

    // Context lives on the GUI thread; Apply runs there and is meant to call take(). Context
    // must outlive the worker's use of this object. Capacity is at least 1.
    SearchHandOff(QObject& Context, std::function<void()> Apply,
                  std::size_t Capacity = DefaultCapacity);
    // Closes the hand-off.
    ~SearchHandOff();
    SearchHandOff(const SearchHandOff&) = delete;
    SearchHandOff& operator=(const SearchHandOff&) = delete;

    // Walking thread: records File as a new row unless its file is one of the last two rows
    // recorded. Returns whether it was recorded (false once closed).
    bool addRow(const TFileDetails& File);
    // Walking thread: the folder label is to show Folder.
    void showFolder(std::string_view Folder);
    // Walking thread: the progress bar is to advance by one step.
    void stepBar();

    // What the GUI thread takes at once besides the rows.
    struct Recorded {
        std::optional<std::string> folder; // the last folder to show, when one was recorded
        int barSteps = 0;
    };
    // GUI thread: moves the waiting rows into Rows (whose own rows are discarded) and returns
    // the folder and the bar's steps recorded since the last take. Nothing once closed.
    Recorded take(ResultRowStore& Rows);

    // GUI thread, before a search starts: empty, open, with no rows recorded.
    void reopen();
    // Any thread: see the class comment.
    void abort();
    // GUI thread: see the class comment.
    void close();

private:
    enum class Mode { Open, Aborted, Closed };

    // The last two rows recorded, for the duplicate test.
    class RecentFiles {
    public:
        bool contains(std::string_view Folder, std::string_view Name) const;
        void add(std::string_view Folder, std::string_view Name);
        void clear();

    private:
        struct File {
            std::string folder;
            std::string name;
            bool used = false;
        };
        File m_files[2];
        int m_newest = 0;
    };

    struct State {
        std::mutex mutex;
        std::condition_variable space;
        Mode mode = Mode::Open;
        std::function<void()> apply;
        bool applyRequested = false;
        ResultRowStore rows;
        std::optional<std::string> folder;
        int barSteps = 0;
    };

    bool isFull(std::size_t Limit, std::size_t ByteLimit) const;
    // Under the lock: posts one call of Apply to the context unless one is on its way.
    void requestApply();

    QObject& m_context;
    const std::size_t m_capacity;
    std::shared_ptr<State> m_state;
    RecentFiles m_recent; // the walking thread's
};

} // namespace velmaro
