// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventLoop.h"

#include <utility>

namespace velmaro::platform {

// A window hands its calls to the loop together with a flag that reads false once the window
// is gone; the flag is written and read only on the owner thread, so it needs no lock.
class EventLoop::Window final : public MessageWindow {
public:
    explicit Window(EventLoop& loop) : m_loop(loop), m_alive(std::make_shared<bool>(true)) {}
    ~Window() override { *m_alive = false; }

    void post(std::function<void()> Call) override { m_loop.enqueue({m_alive, std::move(Call)}); }

private:
    EventLoop& m_loop;
    std::shared_ptr<bool> m_alive;
};

EventLoop::EventLoop() = default;
EventLoop::~EventLoop() = default;

std::unique_ptr<MessageWindow> EventLoop::createWindow() {
    return std::make_unique<Window>(*this);
}

void EventLoop::enqueue(Posted item) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(item));
    }
    m_wake.notify_all();
}

bool EventLoop::runOne() {
    Posted item;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty())
            return false;
        item = std::move(m_queue.front());
        m_queue.pop_front();
    }
    if (*item.alive)
        item.call();
    return true;
}

int EventLoop::processPending() {
    int count = 0;
    while (runOne())
        ++count;
    return count;
}

void EventLoop::runUntil(const std::function<bool()>& Done) {
    while (!Done()) {
        if (runOne())
            continue;
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_queue.empty(); });
    }
}

} // namespace velmaro::platform
