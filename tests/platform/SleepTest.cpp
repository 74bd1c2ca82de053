// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Sleep.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace velmaro::platform {
namespace {

using Clock = std::chrono::steady_clock;

// The pause lifts the thread's timer slack only while it sleeps: a thread that goes on serving
// timers (the GUI thread during a deletion) keeps the slack it had.
TEST(Sleep, PausesAtLeastAsLongAndGivesTheTimerSlackBack) {
    const int before = prctl(PR_GET_TIMERSLACK);
    ASSERT_GT(before, 1);
    const Clock::time_point start = Clock::now();
    Sleep(std::chrono::milliseconds(2));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(2));
    EXPECT_EQ(prctl(PR_GET_TIMERSLACK), before);
}

TEST(Sleep, NothingToWaitForReturnsAtOnce) {
    const int before = prctl(PR_GET_TIMERSLACK);
    Sleep(std::chrono::microseconds(0));
    Sleep(std::chrono::microseconds(-5));
    EXPECT_EQ(prctl(PR_GET_TIMERSLACK), before);
}

} // namespace
} // namespace velmaro::platform
