// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CharTables.h"
#include "engine/FileCriteria.h"
#include "engine/SplitDelimited.h"
#include "engine/TargetPaths.h"
#include "engine/WildcardMatch.h"
#include "platform/CodePage.h"
#include "platform/EnumerationMask.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace velmaro;

namespace {

std::string repeat(const std::string& piece, std::size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += piece;
    text.resize(bytes);
    return text;
}

std::vector<std::string> badInputs() {
    std::string highBytes;
    for (int c = 0x80; c <= 0xFF; ++c)
        highBytes += static_cast<char>(c);
    constexpr std::size_t big = 64 * 1024;
    return {"",
            ">>",
            "2-",
            "-3>",
            "<<",
            "><",
            " ; ;\t;\x01; ",
            ";;;;",
            "/",
            "//..//../",
            highBytes,
            highBytes + ";" + highBytes + ">",
            repeat("a", big),
            repeat("*", big),
            repeat("?*", big),
            repeat("a;", big),
            repeat("9>", big),
            repeat("/../", big),
            repeat(highBytes, big)};
}

class BadInput : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CodePage::select(GetParam()));
        BuildCharTables();
    }
    void TearDown() override { platform::CodePage::select("UTF-8"); }
};

TEST_P(BadInput, MatchersAnswerWithoutFault) {
    for (const std::string& input : badInputs()) {
        const char* text = input.c_str();
        EXPECT_TRUE(WildcardMatch(text, text) || input.find_first_of("*?") != std::string::npos);
        EXPECT_TRUE(WildcardMatch(text, "*"));
        EXPECT_EQ(WildcardMatch("", text), input.find_first_not_of("*?") == std::string::npos);
        WildcardMatch(text, "*a*b*c*?");

        const platform::EnumerationMask mask(input);
        mask.matches(input.substr(0, platform::EnumerationMask::NameMax));
        EXPECT_FALSE(platform::EnumerationMask("*").matches(input) &&
                     input.size() > platform::EnumerationMask::NameMax);
    }
}

TEST_P(BadInput, SplittingAndTargetsStayWellFormed) {
    for (const std::string& input : badInputs()) {
        for (const std::string& piece : SplitDelimited(input, ';')) {
            ASSERT_FALSE(piece.empty());
            EXPECT_GT(static_cast<unsigned char>(piece.front()), 32);
            EXPECT_GT(static_cast<unsigned char>(piece.back()), 32);
            EXPECT_EQ(piece.find(';'), std::string::npos);
        }

        bool subfolders = false;
        std::uint16_t minLevel = 1;
        std::uint16_t maxLevel = 2;
        std::string folder;
        TTargetPaths::ParseLocation(input, subfolders, folder, minLevel, maxLevel);
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.front(), '/');
        EXPECT_EQ(folder.back(), '/');

        TFileCriteria criteria;
        criteria.SetFileName(input);
        criteria.SetLocation(input);
        criteria.Paths().Add(input);
        criteria.Filters().Add(input);
        TTargetPaths& targets = criteria.TargetPaths();
        for (int i = 0; i < targets.Count(); ++i) {
            const TTargetPath& target = targets.Items(i);
            EXPECT_EQ(target.Folder.front(), '/');
            EXPECT_EQ(target.Folder.back(), '/');
            EXPECT_GT(target.Masks.Count(), 0);
        }
        criteria.PassesFilters(input, input);
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, BadInput, ::testing::Values("UTF-8", "CP1251"));

} // namespace
