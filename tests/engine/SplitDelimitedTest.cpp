// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SplitDelimited.h"

#include "engine/CharTables.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

using namespace velmaro;

namespace {

std::vector<std::string> entries(const TStringList& list) {
    return {list.begin(), list.end()};
}

class SplitDelimitedTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CodePage::select("UTF-8"));
        BuildCharTables();
    }
};

TEST_F(SplitDelimitedTest, KeepsTrimmedPiecesOnceInOrderOfFirstOccurrence) {
    using Pieces = std::vector<std::string>;
    struct Case {
        const char* text;
        Pieces ignoringCase;
        Pieces exact;
    } const cases[] = {
        {" *.tmp ; *.TMP;;*.bak ", {"*.tmp", "*.bak"}, {"*.tmp", "*.TMP", "*.bak"}},
        {"/tmp/Temp;/tmp/temp;/tmp/Temp/",
         {"/tmp/Temp", "/tmp/Temp/"},
         {"/tmp/Temp", "/tmp/temp", "/tmp/Temp/"}},
        {"a", {"a"}, {"a"}},
        {"", {}, {}},
        {" ;\t;\x01\x1f; ", {}, {}},
        {"b;a;b;A", {"b", "a"}, {"b", "a", "A"}},
        {"\xC3\x84x;\xC3\xA4x", {"\xC3\x84x", "\xC3\xA4x"}, {"\xC3\x84x", "\xC3\xA4x"}},
        {"\x80 ;\x80", {"\x80"}, {"\x80"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entries(SplitDelimited(c.text, ';')), c.ignoringCase) << c.text;
        EXPECT_EQ(entries(SplitDelimited(c.text, ';', TDuplicateTest::dtExact)), c.exact) << c.text;
    }
}

TEST_F(SplitDelimitedTest, FoldsLetterCaseOfTheCodePage) {
    ASSERT_TRUE(platform::CodePage::select("CP1251"));
    BuildCharTables();
    // "ЛОГ" and "лог" are one piece under CP1251.
    EXPECT_EQ(entries(SplitDelimited("\xCB\xCE\xC3;\xEB\xEE\xE3", ';')),
              std::vector<std::string>{"\xCB\xCE\xC3"});
}

TEST(StringList, NotifiesEveryChangeOfItsContentsOnce) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&changes] { ++changes; };
    list.Add("a");
    list.Insert(0, "b");
    list.SetItems(1, "c");
    list.SetItems(1, "c");
    list.Delete(0);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(entries(list), std::vector<std::string>{"c"});

    list.Assign(TStringList{"c"});
    EXPECT_EQ(changes, 4);
    list = TStringList{"x", "x"};
    EXPECT_EQ(changes, 5);
    list.Clear();
    list.Clear();
    EXPECT_EQ(changes, 6);

    const TStringList copy = TStringList{"y"};
    EXPECT_FALSE(copy.OnChange);
    EXPECT_THROW(list.Items(0), std::out_of_range);
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
    EXPECT_THROW(list.Insert(1, "z"), std::out_of_range);
    EXPECT_EQ(changes, 6);
}

} // namespace
