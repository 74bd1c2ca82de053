// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FileCriteria.h"

#include "engine/CharTables.h"
#include "platform/CodePage.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace velmaro;

namespace {

class TOtherCriteria : public TCustomCriteria {
public:
    const char* ClassName() const override { return "TOtherCriteria"; }
    void Clear() override {}
};

class FileCriteriaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::CodePage::select("UTF-8"));
        BuildCharTables();
    }

    static void expectNew(const TFileCriteria& c) {
        EXPECT_EQ(c.FileName(), "");
        EXPECT_EQ(c.Location(), "");
        EXPECT_EQ(c.Paths().Count(), 0);
        EXPECT_TRUE(c.Subfolders());
        EXPECT_EQ(c.MinLevel(), 0);
        EXPECT_EQ(c.MaxLevel(), 0);
        EXPECT_EQ(c.Filters().Count(), 0);
    }

    static void fill(TFileCriteria& c) {
        c.SetFileName("*.tmp");
        c.SetLocation("/tmp/a");
        c.Paths().Add("/tmp/b/*.log");
        c.SetSubfolders(false);
        c.SetMinLevel(2);
        c.SetMaxLevel(3);
        c.Filters().Add("*.bak");
    }
};

TEST_F(FileCriteriaTest, KeepsTheTargetsUntilASettingTheyDependOnChanges) {
    struct Case {
        const char* change;
        std::function<void(TFileCriteria&)> apply;
        bool discards;
    } const cases[] = {
        {"same FileName", [](TFileCriteria& c) { c.SetFileName("*.tmp"); }, false},
        {"same Location", [](TFileCriteria& c) { c.SetLocation("/tmp/a"); }, false},
        {"same Subfolders", [](TFileCriteria& c) { c.SetSubfolders(false); }, false},
        {"same MinLevel", [](TFileCriteria& c) { c.SetMinLevel(2); }, false},
        {"same MaxLevel", [](TFileCriteria& c) { c.SetMaxLevel(3); }, false},
        {"same Paths", [](TFileCriteria& c) { c.SetPaths(TStringList{"/tmp/b/*.log"}); }, false},
        {"a filter added", [](TFileCriteria& c) { c.Filters().Add("*.x"); }, false},
        {"Filters replaced", [](TFileCriteria& c) { c.SetFilters(TStringList{"a"}); }, false},
        {"FileName in other case", [](TFileCriteria& c) { c.SetFileName("*.TMP"); }, true},
        {"Location", [](TFileCriteria& c) { c.SetLocation("/tmp/c"); }, true},
        {"Subfolders", [](TFileCriteria& c) { c.SetSubfolders(true); }, true},
        {"MinLevel", [](TFileCriteria& c) { c.SetMinLevel(1); }, true},
        {"MaxLevel", [](TFileCriteria& c) { c.SetMaxLevel(0); }, true},
        {"a path added", [](TFileCriteria& c) { c.Paths().Add("/tmp/d/*"); }, true},
        {"a path changed", [](TFileCriteria& c) { c.Paths().SetItems(0, "/tmp/d/*"); }, true},
        {"paths cleared", [](TFileCriteria& c) { c.Paths().Clear(); }, true},
        {"Paths replaced", [](TFileCriteria& c) { c.SetPaths(TStringList{"/tmp/e/*"}); }, true},
    };
    for (const Case& c : cases) {
        TFileCriteria criteria;
        fill(criteria);
        // A mark on the kept list shows whether the next request gets the same list.
        criteria.TargetPaths().Items(0).Masks.Add("mark");
        c.apply(criteria);
        const TStringList& masks = criteria.TargetPaths().Items(0).Masks;
        EXPECT_EQ(masks.IndexOf("mark") >= 0, !c.discards) << c.change;
    }
}

TEST_F(FileCriteriaTest, FiltersLetTheFirstMatchingEntryDecide) {
    struct Case {
        TStringList filters;
        const char* folder;
        const char* name;
        bool passes;
    } const cases[] = {
        {{}, "/tmp/", "a.tmp", true},
        {{">*/keep/*", "*.tmp"}, "/tmp/keep/", "a.tmp", true},
        {{">*/keep/*", "*.tmp"}, "/tmp/x/", "a.tmp", false},
        {{"*.tmp", ">*/keep/*"}, "/tmp/keep/", "a.tmp", false},
        {{"*.tmp", ">*/keep/*"}, "/tmp/x/", "a.tmp", false},
        {{"*."}, "/tmp/", "README", false},
        {{"*."}, "/tmp/", "a.txt", true},
        {{"<*.LOG"}, "/tmp/", "a.log", false},
        {{"/tmp/*"}, "/var/", "a", true},
        {{"*/COMMON FILES*"}, "/opt/Common Files/x/", "a.dll", false},
        {{"*/*Office*"}, "/home/u/", "myoffice.doc", false},
        {{" *.tmp"}, "/tmp/", "a.tmp", true},
        {{""}, "/tmp/", "a", true},
        {{">"}, "/tmp/", "a", true},
        {{">", "*"}, "/tmp/", "a", false},
        {{"<", "*"}, "/tmp/", "a", false},
    };
    for (const Case& c : cases) {
        TFileCriteria criteria;
        criteria.SetFilters(c.filters);
        EXPECT_EQ(criteria.PassesFilters(c.folder, c.name), c.passes)
            << c.folder << c.name << " first filter '"
            << (c.filters.Count() ? c.filters.Items(0) : "") << "'";
    }

    TFileCriteria criteria;
    criteria.Filters().Add("*/deep/*.tmp");
    const std::string longFolder = "/" + std::string(10000, 'x') + "/deep/";
    EXPECT_FALSE(criteria.PassesFilters(longFolder, "a.tmp"));
    EXPECT_TRUE(criteria.PassesFilters(longFolder, "a.txt"));
}

TEST_F(FileCriteriaTest, ClearReturnsToTheStateOfANewObject) {
    TFileCriteria fresh;
    expectNew(fresh);
    EXPECT_EQ(fresh.TargetPaths().Count(), 0);

    TFileCriteria criteria;
    fill(criteria);
    criteria.Clear();
    expectNew(criteria);
    EXPECT_EQ(criteria.TargetPaths().Count(), 0);
}

TEST_F(FileCriteriaTest, AssignCopiesEverySettingAndKeepsTheListsApart) {
    TFileCriteria source;
    fill(source);
    TFileCriteria copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.FileName(), "*.tmp");
    EXPECT_EQ(copy.Location(), "/tmp/a");
    EXPECT_EQ(copy.Paths(), TStringList{"/tmp/b/*.log"});
    EXPECT_FALSE(copy.Subfolders());
    EXPECT_EQ(copy.MinLevel(), 2);
    EXPECT_EQ(copy.MaxLevel(), 3);
    EXPECT_EQ(copy.Filters(), TStringList{"*.bak"});
    ASSERT_EQ(copy.TargetPaths().Count(), 2);

    // Each object's Paths notifies its own owner only.
    source.TargetPaths().Items(0).Masks.Add("mark");
    copy.Paths().Add("/tmp/z/*");
    EXPECT_GE(source.TargetPaths().Items(0).Masks.IndexOf("mark"), 0);
    EXPECT_EQ(copy.TargetPaths().Count(), 3);
}

TEST_F(FileCriteriaTest, AssignFromAnotherClassFailsAndChangesNothing) {
    TFileCriteria criteria;
    fill(criteria);
    TOtherCriteria other;
    struct Case {
        const TCustomCriteria* source;
        const char* message;
    } const cases[] = {
        {&other, "Cannot assign a TOtherCriteria to a TFileCriteria"},
        {nullptr, "Cannot assign a nil to a TFileCriteria"},
    };
    for (const Case& c : cases) {
        try {
            criteria.Assign(c.source);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(criteria.FileName(), "*.tmp");
        EXPECT_EQ(criteria.MaxLevel(), 3);
        EXPECT_EQ(criteria.Paths().Count(), 1);
    }
}

} // namespace
