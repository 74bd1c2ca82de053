// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace velmaro::testing {

// Runs a test under a time zone of its choosing and gives the process its earlier TZ back
// afterwards, so that no other test sees the change.
class TimeZoneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ"))
            m_saved = tz;
    }

    void TearDown() override {
        if (m_saved)
            setenv("TZ", m_saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    // A POSIX TZ value, such as "UTC0" or "EST5EDT,M3.2.0,M11.1.0".
    static void useTimeZone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }

private:
    std::optional<std::string> m_saved;
};

} // namespace velmaro::testing
