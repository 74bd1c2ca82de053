// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Utf8.h"

#include <gtest/gtest.h>

using namespace velmaro::platform;

namespace {

TEST(Utf8, DecodesOneCharacterToOneUnit) {
    struct Case {
        std::string bytes;
        bool decodes;
        char16_t unit;
    } const cases[] = {
        {"a", true, u'a'},
        {std::string(1, '\0'), true, 0},
        {"\xD0\xB4", true, u'\u0434'},
        {"\xE2\x82\xAC", true, u'\u20AC'},
        {"\xEF\xBF\xBF", true, u'\uFFFF'},
        {"", false, 0},
        {"ab", false, 0},               // two characters
        {"\xF0\x9F\x98\x80", false, 0}, // outside the Basic Multilingual Plane
        {"\xD0", false, 0},             // cut short
        {"\x80", false, 0},             // a continuation byte alone
        {"\xFF", false, 0},             // never valid
        {"\xC0\x80", false, 0},         // overlong
        {"\xE0\x80\xAF", false, 0},     // overlong
        {"\xED\xA0\x80", false, 0},     // a surrogate
        {"\xD0\xB4\x80", false, 0},     // a character and a stray byte
        {"\xE2\x80\x80\x80\x80\x80\x80\x80", false, 0},
    };
    for (const Case& c : cases) {
        char16_t unit = 0x1234;
        const bool decodes = Utf8CharToUtf16(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                             c.bytes.size(), unit);
        EXPECT_EQ(decodes, c.decodes) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(unit, c.decodes ? c.unit : char16_t{0x1234}) << ::testing::PrintToString(c.bytes);
    }
}

TEST(Utf8, EncodesUtf16) {
    EXPECT_EQ(Utf16ToUtf8(u""), "");
    EXPECT_EQ(Utf16ToUtf8(u"a\u0434\u20AC"), "a\xD0\xB4\xE2\x82\xAC");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(lone, 4)), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

} // namespace
