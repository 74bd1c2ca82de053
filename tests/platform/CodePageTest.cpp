// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CodePage.h"

#include "TempFolder.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using velmaro::platform::CodePage;

namespace {

class CodePageTest : public ::testing::Test {
protected:
    void TearDown() override { CodePage::select("UTF-8"); }
};

// Sets an environment variable for the life of the object, then restores it and the C locale.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
        std::setlocale(LC_ALL, "C");
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST_F(CodePageTest, LocaleWithoutCharacterSetGivesUtf8) {
    // Each of these leaves the process in plain ASCII, which cannot hold a Russian letter.
    for (const char* locale : {"C", "POSIX", "xx_NO.SUCH-LOCALE", "C.UTF-8"}) {
        ASSERT_TRUE(CodePage::select("CP1251"));
        const ScopedEnvironment lcAll("LC_ALL", locale);
        CodePage::selectFromLocale();
        EXPECT_EQ(CodePage::system().name(), "UTF-8") << locale;
        EXPECT_EQ(CodePage::system().fromUtf16(u"\u041E\u0442\u0447\u0451\u0442"),
                  "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82")
            << locale;
    }
}

TEST_F(CodePageTest, EightBitLocaleKeepsItsCharacterSet) {
    // The machine may have no 8-bit locale installed: build one in a folder of our own.
    const velmaro::test::TempFolder locales;
    const std::string command =
        "localedef -i ru_RU -f CP1251 '" + locales.path("ru_RU.CP1251") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build ru_RU.CP1251 (Debian package locales missing?)";
    const ScopedEnvironment locPath("LOCPATH", locales.path());
    const ScopedEnvironment lcAll("LC_ALL", "ru_RU.CP1251");
    CodePage::selectFromLocale();
    EXPECT_EQ(CodePage::system().name(), "CP1251");
    EXPECT_EQ(CodePage::system().fromUtf16(u"\u041E\u0442\u0447\u0451\u0442"),
              "\xCE\xF2\xF7\xB8\xF2");
}

TEST_F(CodePageTest, Cp1251LettersFoldAndClassify) {
    ASSERT_TRUE(CodePage::select("CP1251"));
    const CodePage& cp = CodePage::system();
    EXPECT_FALSE(cp.isUtf8());
    struct Case {
        unsigned char byte;
        bool alnum;
        unsigned char lower;
    } const cases[] = {
        {'A', true, 'a'},    {'z', true, 'z'},    {'7', true, '7'},
        {' ', false, ' '},   {'.', false, '.'},   {0xC0, true, 0xE0}, // А -> а
        {0xDF, true, 0xFF},                                           // Я -> я
        {0xA8, true, 0xB8},                                           // Ё -> ё
        {0xE0, true, 0xE0},  {0x96, false, 0x96},                     // en dash
        {0x98, false, 0x98},                                          // unassigned in CP1251
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp.isAlphaNumeric(c.byte), c.alnum) << int(c.byte);
        EXPECT_EQ(cp.toLower(c.byte), c.lower) << int(c.byte);
    }
}

TEST_F(CodePageTest, Utf8FoldsAsciiAndCountsHighBytesAsLetters) {
    ASSERT_TRUE(CodePage::select("utf8"));
    const CodePage& cp = CodePage::system();
    EXPECT_TRUE(cp.isUtf8());
    EXPECT_EQ(cp.toLower('Q'), 'q');
    EXPECT_TRUE(cp.isAlphaNumeric(0xD0));
    EXPECT_EQ(cp.toLower(0xD0), 0xD0);
    EXPECT_FALSE(cp.isAlphaNumeric('-'));
}

TEST_F(CodePageTest, UnknownCharsetLeavesTheCodePageAlone) {
    ASSERT_TRUE(CodePage::select("CP1251"));
    EXPECT_FALSE(CodePage::select("NO-SUCH-CHARSET"));
    EXPECT_FALSE(CodePage::select("UTF-16"));
    EXPECT_EQ(CodePage::system().name(), "CP1251");
}

TEST_F(CodePageTest, ToUtf16ReplacesInvalidSequences) {
    ASSERT_TRUE(CodePage::select("UTF-8"));
    EXPECT_EQ(CodePage::system().toUtf16("a\xD0\xB4z"), u"a\u0434z");
    EXPECT_EQ(CodePage::system().toUtf16("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(CodePage::system().toUtf16("a\xD0"), u"a\uFFFD");
    EXPECT_EQ(CodePage::system().toUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(CodePage::system().toUtf16(std::string(1000, 'x')).size(), 1000u);
    ASSERT_TRUE(CodePage::select("CP1251"));
    EXPECT_EQ(CodePage::system().toUtf16("\xC4\xEE\xEC"), u"\u0414\u043E\u043C");
}

TEST_F(CodePageTest, FromUtf16WritesUnrepresentableCharactersAsQuestionMarks) {
    ASSERT_TRUE(CodePage::select("CP1251"));
    EXPECT_EQ(CodePage::system().fromUtf16(u"\u041E\u0442\u0447\u0451\u0442 1."),
              "\xCE\xF2\xF7\xB8\xF2 1.");
    EXPECT_EQ(CodePage::system().fromUtf16(u"a\u4E2Db\U0001F600c"), "a?b?c");
    EXPECT_EQ(CodePage::system().fromUtf16(std::u16string(1000, u'\u0416')),
              std::string(1000, '\xC6'));
    ASSERT_TRUE(CodePage::select("UTF-8"));
    EXPECT_EQ(CodePage::system().fromUtf16(u"\u0434\U0001F600"), "\xD0\xB4\xF0\x9F\x98\x80");
    const char16_t loneSurrogates[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(CodePage::system().fromUtf16(loneSurrogates), "a?b?");
}

TEST_F(CodePageTest, WideTests) {
    EXPECT_TRUE(CodePage::isAlphaNumericWide(u'\u0416'));
    EXPECT_EQ(CodePage::toLowerWide(u'\u0416'), u'\u0436');
    EXPECT_EQ(CodePage::toLowerWide(u'T'), u't');
    EXPECT_FALSE(CodePage::isAlphaNumericWide(u' '));
    EXPECT_FALSE(CodePage::isAlphaNumericWide(0xD800));
    EXPECT_EQ(CodePage::toLowerWide(0xD800), 0xD800);
}

} // namespace
