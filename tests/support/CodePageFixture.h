// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CharTables.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace velmaro::testing {

// Runs a test under UTF-8 as the system's code page with the character tables built for it,
// and leaves them so afterwards, whichever code page the test switched to.
class CodePageFixture : public ::testing::Test {
protected:
    void SetUp() override { useCodePage("UTF-8"); }
    void TearDown() override { useCodePage("UTF-8"); }

    static void useCodePage(const char* name) {
        ASSERT_TRUE(platform::CodePage::select(name)) << name;
        BuildCharTables();
    }
};

} // namespace velmaro::testing
