#include "cli/StopSignals.h"

#include <iterator>

namespace velmaro {

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

volatile std::sig_atomic_t stopped = 0;

extern "C" void noteStop(int) {
    stopped = 1;
}

} // namespace

StopSignals::StopSignals() {
    static_assert(std::size(stopSignals) == SignalCount);
    stopped = 0;
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
    return stopped != 0;
}

} // namespace velmaro
