// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryFormat.h"

#include "platform/Utf16.h"

#include <gtest/gtest.h>

using namespace velmaro::platform;

namespace {

std::string utf16(std::string_view utf8) {
    return Utf8ToUtf16Le(utf8).value();
}

std::string sz(std::string_view utf8) {
    return utf16(utf8) + std::string(2, '\0');
}

TEST(RegistryFormat, EveryValueTypeSurvivesWritingAndReading) {
    const std::string key = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\Mix";
    RegistryTree tree;
    tree.createKey("HKEY_CURRENT_USER\\software\\Quarno Labs");
    tree.setValue(key, "plain", REG_SZ, sz("default"));
    tree.setValue(key, "quote \" and \\", REG_SZ, sz("C:\\dir \"x\" Привет"));
    tree.setValue(key, "", REG_SZ, sz("the default value"));
    tree.setValue(key, "empty", REG_SZ, sz(""));
    tree.setValue(key, "two lines", REG_SZ, sz("a\r\nb"));
    tree.setValue(key, "no terminator", REG_SZ, utf16("abc"));
    tree.setValue(key, "odd", REG_SZ, std::string("\x41\x00\x42", 3));
    tree.setValue(key, "W", REG_DWORD, std::string("\x20\x03\x00\x00", 4));
    tree.setValue(key, "expand", REG_EXPAND_SZ, sz("%HOME%\\x"));
    tree.setValue(key, "long", REG_BINARY, std::string(300, '\xAB'));
    tree.setValue(key, "none", REG_NONE, "");
    tree.setValue(key, "q", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    tree.setValue(key, "multi", REG_MULTI_SZ, sz("a") + sz("b") + std::string(2, '\0'));

    const auto text = FormatRegistryText(tree);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with("Windows Registry Editor Version 5.00\r\n\r\n"));
    EXPECT_NE(text->find("\"plain\"=\"default\"\r\n"), std::string::npos);
    EXPECT_NE(text->find("\"quote \\\" and \\\\\"=\"C:\\\\dir \\\"x\\\" Привет\"\r\n"),
              std::string::npos);
    EXPECT_NE(text->find("@=\"the default value\"\r\n"), std::string::npos);
    EXPECT_NE(text->find("\"W\"=dword:00000320\r\n"), std::string::npos);
    EXPECT_NE(text->find("\"q\"=hex(b):01,02,03,04,05,06,07,08\r\n"), std::string::npos);
    EXPECT_NE(text->find("\"none\"=hex(0):\r\n"), std::string::npos);
    for (std::size_t i = text->find('\n'); i != std::string::npos; i = text->find('\n', i + 1))
        EXPECT_EQ((*text)[i - 1], '\r') << "bare LF at " << i;
    EXPECT_NE(text->find(",\\\r\n  ab,"), std::string::npos) << "long hex data is wrapped";

    const auto back = ParseRegistryText(*text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, tree);
}

TEST(RegistryFormat, ReadsRegeditUtf16ExportWithoutRegardToCase) {
    const std::string exported = "Windows Registry Editor Version 5.00\r\n"
                                 "\r\n"
                                 "; exported by regedit\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Quarno Labs\\Velmaro 2\\Skin]\r\n"
                                 "\"Name\"=\"Сумерки\"\r\n"
                                 "\"Path\"=hex(2):25,00,55,00,53,00,45,00,52,00,\\\r\n"
                                 "  25,00,00,00\r\n"
                                 "\"Flags\"=dword:FFFFFFFF\r\n"
                                 "\r\n";
    const auto tree = ParseRegistryText("\xFF\xFE" + utf16(exported));
    ASSERT_TRUE(tree);
    const std::string key = "hkey_current_user\\SOFTWARE\\quarno labs\\VELMARO 2\\skin";
    const RegistryValue* name = tree->findValue(key, "NAME");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Type, REG_SZ);
    EXPECT_EQ(name->Data, sz("Сумерки"));
    const RegistryValue* path = tree->findValue(key, "path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->Type, REG_EXPAND_SZ);
    EXPECT_EQ(path->Data, sz("%USER%"));
    const RegistryValue* flags = tree->findValue(key, "flags");
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->Type, REG_DWORD);
    EXPECT_EQ(flags->Data, std::string(4, '\xFF'));
    EXPECT_TRUE(ParseRegistryText("\xEF\xBB\xBF" + exported)) << "UTF-8 with a byte-order mark";
}

TEST(RegistryFormat, RefusesTextThatIsNoWholeExport) {
    const std::string header =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\a]\r\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"binary", std::string("\x7F"
                               "ELF\x02\x01\x01\x00\x00\n",
                               10)},
        {"other header", "REGEDIT4\r\n\r\n"},
        {"cut inside a line", header + "\"W\"=\"80"},
        {"cut after a complete value but before its line end", header + "\"W\"=\"800\""},
        {"unterminated quote", header + "\"W\"=\"800\r\n"},
        {"text after the quote", header + "\"W\"=\"800\" x\r\n"},
        {"value before any key", "Windows Registry Editor Version 5.00\r\n\"W\"=\"1\"\r\n"},
        {"dword too long", header + "\"W\"=dword:000000001\r\n"},
        {"dword not hex", header + "\"W\"=dword:0000000g\r\n"},
        {"half a hex byte", header + "\"B\"=hex:01,2\r\n"},
        {"continuation at the end", header + "\"B\"=hex:01,\\\r\n"},
        {"trailing comma", header + "\"B\"=hex:01,\r\n"},
        {"unknown form", header + "\"B\"=word:1\r\n"},
        {"deleted key", "Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_CURRENT_USER\\a]\r\n"},
        {"deleted value", header + "\"W\"=-\r\n"},
        {"unclosed key", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\a\r\n"},
        {"invalid UTF-8", header + "\"W\"=\"\xC0\xAF\"\r\n"},
        {"UTF-16 of odd length", "\xFF\xFE" + utf16(header) + "x"},
        // Names the writer cannot write back: reading them would block every later save.
        {"key path of a lone CR", "Windows Registry Editor Version 5.00\r\n\r\n[\r]\r\n"},
        {"CR inside a key path", "Windows Registry Editor Version 5.00\r\n\r\n[a\rb]\r\n"},
        {"empty key path", "Windows Registry Editor Version 5.00\r\n\r\n[]\r\n"},
        {"CR inside a value name", header + "\"a\rb\"=\"1\"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ParseRegistryText(c.text)) << c.what;
}

TEST(RegistryFormat, RefusesToWriteWhatTheTextFormCannotCarry) {
    const struct {
        const char* what;
        std::string key;
        std::string name;
    } cases[] = {
        {"empty key path", "", "x"},
        {"key path with a line break", "HKEY_CURRENT_USER\\a\nb", "x"},
        {"key path read as a deletion", "-HKEY_CURRENT_USER\\a", "x"},
        {"name with a line break", "HKEY_CURRENT_USER\\a", "x\r\ny"},
        {"name with a lone CR", "HKEY_CURRENT_USER\\a", "x\ry"},
        // The file would be written, then refused whole when read.
        {"key path that is no UTF-8", "HKEY_CURRENT_USER\\\xC0\xAF", "x"},
        {"name that is no UTF-8", "HKEY_CURRENT_USER\\a", "\xFF"},
    };
    for (const auto& c : cases) {
        RegistryTree tree;
        tree.setValue(c.key, c.name, REG_SZ, sz("v"));
        EXPECT_FALSE(FormatRegistryText(tree)) << c.what;
    }
}

} // namespace
