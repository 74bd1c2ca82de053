// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace velmaro::platform {

// A hidden message window: an object that runs posted calls on the thread that owns it (the
// thread whose event loop serves it). Another thread hands work to the owner through post;
// the owner runs it from its event loop in the order posted.
class MessageWindow {
public:
    virtual ~MessageWindow() = default;

    // Queues Call to run on the owner thread and returns at once; safe from any thread.
    // Calls still queued when the window is destroyed never run, so a call may refer to the
    // window's owner object without outliving it.
    virtual void post(std::function<void()> Call) = 0;

protected:
    MessageWindow() = default;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
};

} // namespace velmaro::platform
