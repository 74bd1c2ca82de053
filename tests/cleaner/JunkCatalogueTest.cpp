// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/JunkCatalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

using velmaro::junkCatalogue;
using velmaro::junkMasks;
using velmaro::junkMaskString;
using velmaro::JunkSelection;
using velmaro::JunkType;

namespace {

TEST(JunkCatalogueTest, HoldsFortyTwoRowsOfWhichTwentyFiveAreRecommended) {
    ASSERT_EQ(junkCatalogue().size(), 42u);
    int recommended = 0;
    for (const JunkType& row : junkCatalogue()) {
        EXPECT_TRUE(row.recommended == "1" || row.recommended == "0") << row.mask;
        recommended += row.isRecommended() ? 1 : 0;
    }
    EXPECT_EQ(recommended, 25);
}

TEST(JunkCatalogueTest, RowsCarryTheirExactTexts) {
    // Descriptions as UTF-8 bytes, so that a look-alike letter or a lost blank shows.
    struct Case {
        std::size_t row; // counted from 1
        std::string mask, description, key, recommended;
    } const cases[] = {
        {1, "*.diz",
         "\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB9 "
         "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB", // Временный файл
         "TempFile", "1"},
        {4, "*.chk", "Файл восстановения", "ChFile", "1"},
        {5, "*.old", "Старый файл", "OldFile", "0"},
        {8, "*.wbk", "Резервный файл", "BackupFile", "0"},
        {12, "*log.txt", "Лог файл", "LogFile", "0"},
        {13, "*.err", "Файл ошибки", "ErrorFile", "1"},
        {17, "*.??$", "Временный файл", "TempFile", "1"},
        {26, "thumbs.db", "Файл индекса", "IndexFile", "0"},
        {27, "CHKLIST.MS", "Временный файл", "TempFile", "1"},
        {29, "*.aps", "Промежуточный файл", "IntermediateFile", "0"},
        {30, "*.ncb", "Промежуточный ", "IntermediateFile", "0"},
        {31, "*.pch", "Промежуточный ", "IntermediateFile", "0"},
        {37, "*.^", "Временный файл", "TempFile", "0"},
        {40, "chklist.*", "Временный файл", "TempFile", "1"},
        {42, "*.log?", "Лог файл", "LogFile", "0"},
    };
    for (const Case& c : cases) {
        const JunkType& row = junkCatalogue()[c.row - 1];
        EXPECT_EQ(row.mask, c.mask) << "row " << c.row;
        EXPECT_EQ(row.description, c.description) << "row " << c.row;
        EXPECT_EQ(row.key, c.key) << "row " << c.row;
        EXPECT_EQ(row.recommended, c.recommended) << "row " << c.row;
    }
}

TEST(JunkCatalogueTest, KeysComeFromTheEightCategoriesAndMasksAreUnique) {
    const std::set<std::string_view> keys{"TempFile", "ChFile",    "OldFile",   "BackupFile",
                                          "LogFile",  "ErrorFile", "IndexFile", "IntermediateFile"};
    std::set<std::string_view> masks;
    for (const JunkType& row : junkCatalogue()) {
        EXPECT_TRUE(keys.contains(row.key)) << row.mask;
        EXPECT_TRUE(masks.insert(row.mask).second) << "repeated " << row.mask;
    }
}

TEST(JunkCatalogueTest, RecommendedMasksInTableOrder) {
    const std::vector<std::string_view> expected{
        "*.diz", "*.tmp", "*.temp",    "*.chk",       "*.gid", "*.fts", "*.ftg",
        "*.$$$", "*.err", "*.---",     "*.~*",        "~*.*",  "*.??$", "*.___",
        "*.~mp", "*._mp", "*.dmp",     "CHKLIST.MS",  "*.$db", "*.?$?", "*.??~",
        "*.?~?", "*.db$", "chklist.*", "mscreate.dir"};
    EXPECT_EQ(junkMasks(JunkSelection::Recommended), expected);

    std::string joined;
    for (std::string_view mask : expected) {
        joined.append(mask).append(";");
    }
    EXPECT_EQ(junkMaskString(JunkSelection::Recommended), joined);
}

TEST(JunkCatalogueTest, AllMasksFollowTheTableAndJoinWithATrailingSeparator) {
    const std::vector<std::string_view> all = junkMasks(JunkSelection::All);
    ASSERT_EQ(all.size(), 42u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i], junkCatalogue()[i].mask);
    }

    const std::string joined = junkMaskString(JunkSelection::All);
    EXPECT_TRUE(joined.starts_with("*.diz;*.tmp;*.temp;*.chk;*.old;")) << joined;
    EXPECT_TRUE(joined.ends_with(";chklist.*;mscreate.dir;*.log?;")) << joined;
    EXPECT_EQ(std::count(joined.begin(), joined.end(), ';'), 42);
}

} // namespace
