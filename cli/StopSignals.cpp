// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StopSignals.h"

#include <atomic>
#include <iterator>

namespace velmaro {

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Lock-free, so that the handler may set it and any thread read it.
std::atomic<bool> stopped = false;
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void noteStop(int) {
    stopped.store(true);
}

} // namespace

StopSignals::StopSignals() {
    static_assert(std::size(stopSignals) == SignalCount);
    stopped.store(false);
    for (int i = 0; i < SignalCount; ++i) {
        struct sigaction action {};
        action.sa_handler = stopSignals[i] == SIGPIPE ? SIG_IGN : noteStop;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        sigaction(stopSignals[i], &action, &m_previous[i]);
    }
}

StopSignals::~StopSignals() {
    for (int i = 0; i < SignalCount; ++i)
        sigaction(stopSignals[i], &m_previous[i], nullptr);
}

bool StopSignals::stopRequested() const {
    return stopped.load();
}

} // namespace velmaro
