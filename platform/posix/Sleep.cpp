// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Sleep.h"

#include <sys/prctl.h>
#include <thread>

namespace velmaro::platform {

namespace {

// The smallest slack the kernel takes (nanoseconds); 0 would mean "back to the default".
constexpr unsigned long PreciseSlack = 1;

} // namespace

void Sleep(std::chrono::microseconds Duration) {
    if (Duration <= std::chrono::microseconds::zero())
        return;
    // Where the kernel refuses, the pause is merely a little longer.
    const int previous = prctl(PR_GET_TIMERSLACK);
    prctl(PR_SET_TIMERSLACK, PreciseSlack);
    std::this_thread::sleep_for(Duration);
    if (previous > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previous));
}

} // namespace velmaro::platform
