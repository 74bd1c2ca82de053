// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SearchCriteria.h"

#include "engine/CharTables.h"
#include "platform/FileAttributes.h"
#include "support/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace velmaro {
namespace {

using namespace platform;

FindData entry(const char* name, std::uint32_t attributes, std::uint64_t size = 0) {
    FindData data;
    std::strncpy(data.cFileName, name, MAX_PATH - 1);
    data.dwFileAttributes = attributes;
    data.nFileSizeHigh = static_cast<std::uint32_t>(size >> 32);
    data.nFileSizeLow = static_cast<std::uint32_t>(size);
    data.ftCreationTime = data.ftLastWriteTime = data.ftLastAccessTime = 130000000000000000;
    return data;
}

class SearchCriteriaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildCharTables(); }
    TSearchCriteria criteria;
};

struct AttributeCase {
    std::uint32_t attributes;
    bool newObject;
    bool cleared;
};

TEST_F(SearchCriteriaTest, ANewObjectRejectsHiddenSystemAndFoldersWhileAClearedOnePassesAll) {
    const AttributeCase cases[] = {
        {FILE_ATTRIBUTE_ARCHIVE, true, true},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, true, true},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, false, true},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM, false, true},
        {FILE_ATTRIBUTE_DIRECTORY, false, true},
    };
    TSearchCriteria cleared;
    cleared.Clear();
    for (const AttributeCase& c : cases) {
        EXPECT_EQ(criteria.Matches("/data/", entry("x", c.attributes)), c.newObject)
            << c.attributes;
        EXPECT_EQ(cleared.Matches("/data/", entry("x", c.attributes)), c.cleared) << c.attributes;
    }
}

TEST_F(SearchCriteriaTest, EveryMemberCanRejectAnEntry) {
    const FindData file = entry("report.log", FILE_ATTRIBUTE_ARCHIVE, 5000000000);
    EXPECT_TRUE(criteria.Matches("/data/", file));

    criteria.Size().SetMax(4999999999);
    EXPECT_FALSE(criteria.Matches("/data/", file));
    criteria.Size().Clear();

    criteria.TimeStamp().SetModifiedBefore(2);
    EXPECT_FALSE(criteria.Matches("/data/", file));
    criteria.TimeStamp().Clear();

    criteria.Files().Filters().Add("/data/*");
    EXPECT_FALSE(criteria.Matches("/data/", file));
    EXPECT_TRUE(criteria.Matches("/other/", file));
    criteria.Files().Filters().Clear();

    criteria.Content().SetPhrase("anything");
    EXPECT_FALSE(criteria.Matches("/no such folder/", file));
}

TEST_F(SearchCriteriaTest, TheContentTestReadsFolderAndName) {
    test::TempFolder tree;
    tree.file("notes.txt", "the quick brown fox");
    criteria.Content().SetPhrase("BROWN");
    EXPECT_TRUE(criteria.Matches(tree.root(), entry("notes.txt", FILE_ATTRIBUTE_ARCHIVE)));
    criteria.Content().SetPhrase("wolf");
    EXPECT_FALSE(criteria.Matches(tree.root(), entry("notes.txt", FILE_ATTRIBUTE_ARCHIVE)));
}

TEST_F(SearchCriteriaTest, ClearLeavesNothingToWalk) {
    criteria.Files().SetFileName("*.tmp");
    criteria.Files().SetLocation("/tmp");
    criteria.Files().Paths().Add("/var/*.log");
    criteria.Clear();
    EXPECT_EQ(criteria.Files().FileName(), "");
    EXPECT_EQ(criteria.Files().Location(), "");
    EXPECT_EQ(criteria.Files().Paths().Count(), 0);
    EXPECT_EQ(criteria.Files().TargetPaths().Count(), 0);
}

TEST_F(SearchCriteriaTest, AssignCopiesAllFiveMembers) {
    TSearchCriteria source;
    source.Files().SetFileName("*.bak");
    source.Files().Filters().Add("*/keep/*");
    source.Attributes().SetHidden(fsIgnore);
    source.TimeStamp().SetCreatedAfter(40000);
    source.Size().SetMin(10);
    source.Content().SetPhrase("needle");
    source.Content().SetOptions({csoWholeWord});

    criteria.Assign(&source);
    EXPECT_EQ(criteria.Files().FileName(), "*.bak");
    EXPECT_EQ(criteria.Files().Filters(), source.Files().Filters());
    EXPECT_EQ(criteria.Attributes().Hidden(), fsIgnore);
    EXPECT_EQ(criteria.TimeStamp().CreatedAfter(), 40000);
    EXPECT_EQ(criteria.Size().Min(), 10);
    EXPECT_EQ(criteria.Content().Phrase(), "needle");
    EXPECT_EQ(criteria.Content().Options(), TContentSearchOptions{csoWholeWord});
}

TEST_F(SearchCriteriaTest, AssignFromAnotherClassFailsAndChangesNothing) {
    criteria.Size().SetMin(7);
    TSizeCriteria other;
    try {
        criteria.Assign(&other);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TSizeCriteria to a TSearchCriteria");
    }
    EXPECT_THROW(criteria.Assign(nullptr), EConvertError);
    EXPECT_EQ(criteria.Size().Min(), 7);
}

} // namespace
} // namespace velmaro
