// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ThreadPriority.h"

#include <thread>

namespace velmaro {

class TFindFile;

// The worker of a threaded search: walks the component's targets on a thread of its own,
// shows an exception that escapes the walk through the application error hook, and posts
// the completion to the component's message window as its very last action. It never frees
// itself: the component destroys it, which waits until the thread has ended.
class TSearchThread {
public:
    // Starts the worker at Priority (where the system allows). Throws std::system_error when
    // no thread can be started.
    TSearchThread(TFindFile& FindFile, TThreadPriority Priority);
    // Waits until the worker has ended.
    ~TSearchThread();

    TSearchThread(const TSearchThread&) = delete;
    TSearchThread& operator=(const TSearchThread&) = delete;

private:
    void Execute(TThreadPriority priority);

    TFindFile& m_findFile;
    std::thread m_thread;
};

} // namespace velmaro
