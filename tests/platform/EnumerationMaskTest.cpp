#include "platform/EnumerationMask.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <string>

using velmaro::platform::CodePage;
using velmaro::platform::EnumerationMask;

namespace {

struct MaskCase {
    const char* mask;
    const char* name;
    bool matches;
};

class EnumerationMaskTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CodePage::select("UTF-8")); }
    void TearDown() override { CodePage::select("UTF-8"); }
};

TEST_F(EnumerationMaskTest, FollowsTheWindowsMaskRules) {
    const MaskCase cases[] = {
        {"chklist.*", "chklist", true},
        {"chklist.*", "CHKLIST.MS", true},
        {"chklist.*", "chklistx", false},
        {"~*.*", "~abc", true},
        {"~*.*", "abc", false},
        {"*.??$", "a.bc$", true},
        {"*.??$", "a.b$", false},
        {"*.*", "README", true},
        {"*.*", ".", true},
        {"*.*", "..", true},
        {"*.", "README", true},
        {"*.", "a.txt", false},
        {"*.tmp", "a.b.TMP", true},
        {"*.tmp", "a.tmpx", false},
        {"*.tmp", ".tmp", true},
        {"a?c", "ac", false},
        {"a?c", "abc", true},
        {"a?c", "a.c", false},
        {"a??", "a", true},
        {"a??.txt", "a.txt", true},
        {"a??.txt", "abc.txt", true},
        {"a??.txt", "abcd.txt", false},
        {"*", "", true},
        {"*", "anything.at.all", true},
        {"*.log", "a.log.old", false},
        {"*log*", "a.log.old", true},
        {"readme.", "README", true},
        {"readme.", "readme.txt", false},
        {"a*.", "a.b", false},
        {"a*.", "abc", true},
        {"*.b*", "a.b.c", true},
        {"*.b*", "a.c.bx", true},
        {"", "a", false},
        {"...", "a", false},
    };
    for (const MaskCase& c : cases)
        EXPECT_EQ(EnumerationMask(c.mask).matches(c.name), c.matches)
            << "mask '" << c.mask << "' name '" << c.name << "'";
}

TEST_F(EnumerationMaskTest, FoldsLetterCaseOfTheCodePageInForce) {
    ASSERT_TRUE(CodePage::select("CP1251"));
    EXPECT_TRUE(EnumerationMask("\xC0\xC1*").matches("\xE0\xE1.txt"));  // "АБ*" vs "аб.txt"
    EXPECT_FALSE(EnumerationMask("\xC0\xC1*").matches("\xE0\xE2.txt")); // "АБ*" vs "ав.txt"
    ASSERT_TRUE(CodePage::select("UTF-8"));
    // Under UTF-8 only ASCII letters fold; other bytes must be equal.
    EXPECT_TRUE(EnumerationMask("\xD0\x90*").matches("\xD0\x90x"));
    EXPECT_FALSE(EnumerationMask("\xD0\x90*").matches("\xD0\xB0x"));
}

TEST_F(EnumerationMaskTest, RejectsNamesLongerThanAnyFileSystemStores) {
    const std::string longest(EnumerationMask::NameMax, 'a');
    EXPECT_TRUE(EnumerationMask("*").matches(longest));
    EXPECT_TRUE(EnumerationMask("a*a").matches(longest));
    EXPECT_FALSE(EnumerationMask("*").matches(longest + "a"));
    EXPECT_FALSE(EnumerationMask("a*a").matches(longest + "a"));
}

} // namespace
