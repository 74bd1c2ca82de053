// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ContentCriteria.h"

#include "support/CodePageFixture.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmaro;

namespace {

class ContentCriteriaTest : public velmaro::testing::CodePageFixture {
protected:
    velmaro::test::TempFolder m_temp;
};

TEST_F(ContentCriteriaTest, VariantsFollowTheCodePage) {
    useCodePage("CP1251");
    const TStringVariants dom = MakeStringVariants("\xC4\xEE\xEC"); // Дом
    EXPECT_EQ(dom.Ansi, "\xC4\xEE\xEC");
    EXPECT_EQ(dom.Unicode, u"\u0414\u043E\u043C");
    EXPECT_EQ(dom.Utf8, "\xD0\x94\xD0\xBE\xD0\xBC");
    EXPECT_EQ(AnsiToUnicode(""), u"");
    // The conversion takes the string as NUL-terminated.
    EXPECT_EQ(AnsiToUnicode(std::string("ab\0c", 4)), u"ab");

    useCodePage("UTF-8");
    const TStringVariants bad = MakeStringVariants("a\xFF");
    EXPECT_EQ(bad.Unicode, u"a\uFFFD");
    EXPECT_EQ(bad.Utf8, "a\xEF\xBF\xBD");
}

TEST_F(ContentCriteriaTest, PhraseIsPreparedOnlyWhenItChanges) {
    useCodePage("CP1251");
    TContentCriteria criteria;
    criteria.SetPhrase("\xC4\xEE\xEC");
    useCodePage("UTF-8");
    // The same phrase again keeps the variants made under CP1251...
    criteria.SetPhrase("\xC4\xEE\xEC");
    EXPECT_EQ(criteria.PhraseVariants().Unicode, u"\u0414\u043E\u043C");
    // ...a different one is prepared afresh.
    criteria.SetPhrase("x");
    EXPECT_EQ(criteria.PhraseVariants().Unicode, u"x");
    EXPECT_EQ(criteria.PhraseVariants().Utf8, "x");
}

TEST_F(ContentCriteriaTest, EmptyPhrasePassesWithoutOpening) {
    TContentCriteria criteria;
    EXPECT_TRUE(criteria.Matches(m_temp.path("missing")));
    criteria.SetOptions({csoNegate});
    EXPECT_TRUE(criteria.Matches(m_temp.path("missing")));
    EXPECT_TRUE(criteria.Matches("/dev/zero"));
}

TEST_F(ContentCriteriaTest, MatchesAndNegates) {
    const std::string with = m_temp.file("with", "a temp file");
    const std::string without = m_temp.file("without", "nothing here");
    const std::string empty = m_temp.file("empty", "");
    TContentCriteria criteria;
    criteria.SetPhrase("TEMP");
    EXPECT_TRUE(criteria.Matches(with));
    EXPECT_FALSE(criteria.Matches(without));
    EXPECT_FALSE(criteria.Matches(empty));
    criteria.SetOptions({csoNegate});
    EXPECT_FALSE(criteria.Matches(with));
    EXPECT_TRUE(criteria.Matches(without));
    EXPECT_TRUE(criteria.Matches(empty));
}

TEST_F(ContentCriteriaTest, WhatCannotBeOpenedIsRejectedEvenNegated) {
    const std::string fifo = m_temp.fifo("fifo", 0600);
    const std::string socketPath = m_temp.socket("socket");
    const std::string notAFolder = m_temp.file("file", "x") + "/inside";

    // A FIFO without a writer, or /dev/zero, would hang a search that opened them.
    for (const std::string& path : {m_temp.path("missing"), m_temp.path(), notAFolder, fifo,
                                    socketPath, std::string("/dev/zero"), std::string("/dev/null")})
        for (TContentSearchOptions options : {TContentSearchOptions{}, {csoNegate}}) {
            TContentCriteria criteria;
            criteria.SetPhrase("x");
            criteria.SetOptions(options);
            EXPECT_FALSE(criteria.Matches(path)) << path;
        }
}

TEST_F(ContentCriteriaTest, UnreadableFileIsRejectedEvenNegated) {
    const std::string path = m_temp.file("secret", "x");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    ASSERT_EQ(chmod(m_temp.path().c_str(), 0755), 0);
    // Root reads anything: check as an ordinary user in a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        TContentCriteria criteria;
        criteria.SetPhrase("x");
        const bool plain = criteria.Matches(path);
        criteria.SetOptions({csoNegate});
        const bool negated = criteria.Matches(path);
        _exit(!plain && !negated ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot drop privileges to check a denied read";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ContentCriteriaTest, AssignAndClear) {
    TContentCriteria source;
    source.SetPhrase("temp");
    source.SetOptions({csoWholeWord, csoCaseSensitive});
    TContentCriteria target;
    target.Assign(&source);
    EXPECT_EQ(target.Phrase(), "temp");
    EXPECT_EQ(target.PhraseVariants().Unicode, u"temp");
    EXPECT_EQ(target.Options(), (TContentSearchOptions{csoCaseSensitive, csoWholeWord}));
    target.Clear();
    EXPECT_EQ(target.Phrase(), "");
    EXPECT_EQ(target.PhraseVariants().Unicode, u"");
    EXPECT_EQ(target.PhraseVariants().Utf8, "");
    EXPECT_TRUE(target.Options().Empty());
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

} // namespace
