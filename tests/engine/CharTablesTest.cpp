// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CharTables.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace velmaro;

TEST(CharTables, FollowTheCodePageInForce) {
    ASSERT_TRUE(platform::CodePage::select("CP1251"));
    BuildCharTables();
    EXPECT_EQ(LowerCaseCharTable[0xC4], 0xE4);
    EXPECT_EQ(LowerCaseCharTable[0], 0);
    EXPECT_EQ(IdentityCharTable[0xC4], 0xC4);
    EXPECT_EQ(DelimiterCharTable[0xC4], 0);
    EXPECT_EQ(DelimiterCharTable[' '], 1);

    ASSERT_TRUE(platform::CodePage::select("UTF-8"));
    BuildCharTables();
    EXPECT_EQ(LowerCaseCharTable[0xC4], 0xC4);
    EXPECT_EQ(LowerCaseCharTable['K'], 'k');
    EXPECT_EQ(LowerCaseWideCharTable[0x0416], 0x0436);
    EXPECT_EQ(IdentityWideCharTable[0x0416], 0x0416);
    EXPECT_EQ(DelimiterWideCharTable[u'_'], 1);
    EXPECT_EQ(DelimiterWideCharTable[u'9'], 0);
    EXPECT_EQ(LowerCaseWideCharTable[0], 0);
}
