// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventLoop.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace velmaro::platform {
namespace {

TEST(EventLoopTest, RunsCallsPostedFromAnotherThreadOnItsOwnThreadInOrder) {
    EventLoop loop;
    const auto window = loop.createWindow();
    std::vector<int> ran;
    std::vector<std::thread::id> threads;
    std::thread poster([&] {
        for (int i = 0; i < 3; ++i)
            window->post([&, i] {
                ran.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
    });
    loop.runUntil([&] { return ran.size() == 3; });
    poster.join();
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    for (const std::thread::id id : threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(EventLoopTest, DropsTheCallsOfADestroyedWindow) {
    EventLoop loop;
    auto kept = loop.createWindow();
    auto gone = loop.createWindow();
    int keptCalls = 0;
    int goneCalls = 0;
    gone->post([&] { ++goneCalls; });
    kept->post([&] { ++keptCalls; });
    gone.reset();
    loop.processPending();
    EXPECT_EQ(keptCalls, 1);
    EXPECT_EQ(goneCalls, 0);
}

} // namespace
} // namespace velmaro::platform
