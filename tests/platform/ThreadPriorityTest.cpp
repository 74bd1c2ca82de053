// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ThreadPriority.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace velmaro::platform;

namespace {

int niceOf(pid_t thread) {
    return getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

TEST(ThreadPriorityTest, LowerLevelsChangeOnlyTheCallingThread) {
    const int base = niceOf(getpid());
    const struct {
        int level;
        int offset;
    } cases[] = {{THREAD_PRIORITY_BELOW_NORMAL, 5},
                 {THREAD_PRIORITY_LOWEST, 10},
                 {THREAD_PRIORITY_IDLE, 39}};
    for (const auto& c : cases) {
        bool set = false;
        int nice = 0;
        std::thread worker([&] {
            set = SetCurrentThreadPriority(c.level);
            nice = niceOf(gettid());
        });
        worker.join();
        EXPECT_TRUE(set) << c.level;
        EXPECT_EQ(nice, std::min(base + c.offset, 19)) << c.level;
        EXPECT_EQ(niceOf(getpid()), base) << c.level;
    }
}

TEST(ThreadPriorityTest, UnknownLevelIsRefused) {
    bool set = true;
    std::thread worker([&] { set = SetCurrentThreadPriority(3); });
    worker.join();
    EXPECT_FALSE(set);
}

} // namespace
