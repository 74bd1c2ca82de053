// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageWindow.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace velmaro::platform {

// A small event loop for programs without a user interface (the command-line front end) and
// for tests: the thread that runs it owns the message windows it creates.
class EventLoop {
public:
    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // A new message window served by this loop. The loop must outlive the window.
    std::unique_ptr<MessageWindow> createWindow();

    // Runs every call queued so far (and those they queue) without waiting. Returns how many ran.
    int processPending();

    // Runs queued calls, waiting for more while Done answers false. Done is asked before
    // the first wait and after every call; it runs on this thread.
    void runUntil(const std::function<bool()>& Done);

private:
    class Window;
    struct Posted {
        std::shared_ptr<const bool> alive; // false once the target window is destroyed
        std::function<void()> call;
    };

    void enqueue(Posted item);
    bool runOne();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Posted> m_queue;
};

} // namespace velmaro::platform
