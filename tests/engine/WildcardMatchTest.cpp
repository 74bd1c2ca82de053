// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WildcardMatch.h"

#include "engine/CharTables.h"
#include "platform/CodePage.h"
#include "support/AllStrings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace velmaro;

namespace {

class WildcardMatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CodePage::select("UTF-8"));
        BuildCharTables();
    }
};

TEST_F(WildcardMatchTest, MatchesNamesAgainstPatterns) {
    struct Case {
        const char* name;
        const char* pattern;
        bool result;
    } const cases[] = {
        {"Readme.TXT", "*.txt", true},
        {"readme", "*.*", false},
        {"abc", "abc?", true},
        {"ab", "ab??", true},
        {"ab", "a?c", false},
        {"x", "*?x", true},
        {"", "", true},
        {"", "*", true},
        {"a", "", false},
        {"/tmp/WindowsApps/a.log", "/tmp/windows*", true},
        {"/tmp/x/windows", "/tmp/windows*", false},
        {"abc", "a*c", true},
        {"abcbd", "a*b?", true},
        {"abcbdx", "a*b?", false},
        {"aXbXc", "*x*x*", true},
        {"aXb", "*x*x*", false},
        {"ab", "ab?c", false},
        {"abc", "*?", true},
        {"mississippi", "*sip*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*ppx", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.result)
            << "name '" << c.name << "' pattern '" << c.pattern << "'";
}

TEST_F(WildcardMatchTest, FoldsThroughTheLowerCaseTable) {
    ASSERT_TRUE(platform::CodePage::select("CP1251"));
    BuildCharTables();
    EXPECT_TRUE(WildcardMatch("\xC4\xE0\xED\xED\xFB\xE5", "*\xC4\xC0\xCD*")); // "Данные" / "ДАН"
    EXPECT_FALSE(WildcardMatch("\xC4\xE0\xED", "\xC4\xE0\xEC"));
}

// The matcher is written as one loop; this is the same rule as a plain recursive search over
// every place a star can end. Both must agree on every short name and pattern.
bool referenceMatch(const char* s, const char* p) {
    while (*s && *p && *p != '*') {
        if (*p != '?' && LowerCaseCharTable[static_cast<unsigned char>(*p)] !=
                             LowerCaseCharTable[static_cast<unsigned char>(*s)])
            return false;
        ++s;
        ++p;
    }
    if (*s && *p != '*')
        return false;
    while (*p == '*' || *p == '?')
        ++p;
    if (!*s)
        return !*p;
    if (!*p)
        return true;
    const unsigned char literal = LowerCaseCharTable[static_cast<unsigned char>(*p++)];
    for (; *s; ++s)
        if (LowerCaseCharTable[static_cast<unsigned char>(*s)] == literal &&
            referenceMatch(s + 1, p))
            return true;
    return false;
}

TEST_F(WildcardMatchTest, AgreesWithTheRecursiveSearchOnEveryShortInput) {
    const std::vector<std::string> names = velmaro::testing::allStrings("aAb", 5);
    const std::vector<std::string> patterns = velmaro::testing::allStrings("ab*?", 5);
    for (const std::string& pattern : patterns)
        for (const std::string& name : names)
            ASSERT_EQ(WildcardMatch(name.c_str(), pattern.c_str()),
                      referenceMatch(name.c_str(), pattern.c_str()))
                << "name '" << name << "' pattern '" << pattern << "'";
}

} // namespace
