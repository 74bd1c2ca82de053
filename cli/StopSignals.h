// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>

namespace velmaro {

// While it lives, SIGINT, SIGTERM and SIGHUP no longer end the process: they only note that a
// stop was asked for, so that a deletion pass can end after the file it is working on instead
// of being cut off between two steps of one file. SIGPIPE is ignored too, so that an output
// reader that went away shows as a failed write rather than ending the pass. The earlier
// handlers come back when it goes. Make and destroy it on the main thread, one object at a
// time; stopRequested may be asked on any thread.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Whether one of the signals arrived since the object was made.
    bool stopRequested() const;

private:
    // SIGINT, SIGTERM, SIGHUP and SIGPIPE.
    static constexpr int SignalCount = 4;
    struct sigaction m_previous[SignalCount];
};

} // namespace velmaro
