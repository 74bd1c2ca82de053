// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EnumerationMask.h"

#include "platform/CodePage.h"
#include "support/AllStrings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// The same rules as a plain recursive search, for comparison with the compiled mask.
enum RefToken { RefStar = 256, RefDosStar, RefDosQm, RefDosDot };

std::vector<int> referenceTokens(std::string mask) {
    if (mask == "*.*")
        mask = "*";
    const bool endedInDot = !mask.empty() && mask.back() == '.';
    while (!mask.empty() && mask.back() == '.')
        mask.pop_back();
    std::vector<int> tokens;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
        if (mask[i] == '?')
            tokens.push_back(RefDosQm);
        else if (mask[i] == '.' && (next == '?' || next == '*'))
            tokens.push_back(RefDosDot);
        else if (mask[i] == '*')
            tokens.push_back(next == '.' || (endedInDot && i + 1 == mask.size()) ? RefDosStar
                                                                                 : RefStar);
        else
            tokens.push_back(mask[i] >= 'A' && mask[i] <= 'Z' ? mask[i] + 32 : mask[i]);
    }
    return tokens;
}

bool referenceMatch(const std::vector<int>& tokens, std::size_t t, const std::string& name,
                    std::size_t i) {
    const std::size_t lastDot = name.rfind('.');
    if (t == tokens.size())
        return i == name.size();
    switch (tokens[t]) {
    case RefStar:
        for (std::size_t j = i; j <= name.size(); ++j)
            if (referenceMatch(tokens, t + 1, name, j))
                return true;
        return false;
    case RefDosStar:
        for (std::size_t j = i;; ++j) {
            if (referenceMatch(tokens, t + 1, name, j))
                return true;
            if (j == name.size() || j == lastDot)
                return false;
        }
    case RefDosQm:
        return referenceMatch(tokens, t + 1, name, i == name.size() || name[i] == '.' ? i : i + 1);
    case RefDosDot:
        if (i == name.size())
            return referenceMatch(tokens, t + 1, name, i);
        return name[i] == '.' && referenceMatch(tokens, t + 1, name, i + 1);
    default: {
        const char c = i < name.size() ? name[i] : '\0';
        return i < name.size() && (c >= 'A' && c <= 'Z' ? c + 32 : c) == tokens[t] &&
               referenceMatch(tokens, t + 1, name, i + 1);
    }
    }
}

TEST_F(EnumerationMaskTest, AgreesWithTheRecursiveSearchOnEveryShortInput) {
    const std::vector<std::string> masks = velmaro::testing::allStrings("a.*?", 5);
    const std::vector<std::string> names = velmaro::testing::allStrings("aA.", 5);
    for (const std::string& mask : masks) {
        const EnumerationMask compiled(mask);
        const std::vector<int> tokens = referenceTokens(mask);
        for (const std::string& name : names)
            ASSERT_EQ(compiled.matches(name), referenceMatch(tokens, 0, name, 0))
                << "mask '" << mask << "' name '" << name << "'";
    }
}

} // namespace
