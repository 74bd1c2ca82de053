// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetPaths.h"

#include "engine/CharTables.h"
#include "engine/FileCriteria.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmaro;

namespace {

std::string currentFolderBelow() {
    char buffer[4096];
    const std::string cwd = getcwd(buffer, sizeof buffer) ? buffer : "";
    return cwd == "/" ? cwd : cwd + "/";
}

TEST(ParseLocation, ReadsTheMarkersOverTheGivenSettings) {
    struct Case {
        const char* text;
        const char* folder;
        bool subfolders;
        std::uint16_t minLevel;
        std::uint16_t maxLevel;
    } const cases[] = {
        // The settings passed in are Subfolders false, MinLevel 5, MaxLevel 7.
        {"/tmp/Temp", "/tmp/Temp/", false, 5, 7},
        {"/tmp/Temp/", "/tmp/Temp/", false, 5, 7},
        {">/tmp/Temp", "/tmp/Temp/", true, 5, 7},
        {"3>/tmp/Temp", "/tmp/Temp/", true, 0, 3},
        {"2-4> /tmp/Temp ", "/tmp/Temp/", true, 2, 4},
        {" 2 - 4 >/tmp/Temp", "/tmp/Temp/", true, 2, 4},
        {"x>/tmp/Temp", "/tmp/Temp/", true, 0, 7},
        {" >/tmp/Temp", "/tmp/Temp/", true, 0, 7},
        {"-3>/tmp/Temp", "/tmp/Temp/", true, 5, 3},
        {"2->/tmp/Temp", "/tmp/Temp/", true, 2, 7},
        {"+6>/tmp/Temp", "/tmp/Temp/", true, 0, 6},
        {"70000>/tmp/Temp", "/tmp/Temp/", true, 0, 4464},
        {"2--5>/tmp/Temp", "/tmp/Temp/", true, 2, 65531},
        {"4294967296>/tmp/Temp", "/tmp/Temp/", true, 0, 7},
        {"3x>/tmp/Temp", "/tmp/Temp/", true, 0, 7},
        {"<tmp/../tmp/Temp", nullptr, false, 5, 7},
        {"</tmp/Temp", "/tmp/Temp/", false, 5, 7},
        {"ab</tmp/Temp", "/tmp/Temp/", false, 5, 7},
        {"/tmp//Temp/./", "/tmp/Temp/", false, 5, 7},
    };
    for (const Case& c : cases) {
        bool subfolders = false;
        std::uint16_t minLevel = 5;
        std::uint16_t maxLevel = 7;
        std::string folder;
        TTargetPaths::ParseLocation(c.text, subfolders, folder, minLevel, maxLevel);
        const std::string expected = c.folder ? c.folder : currentFolderBelow() + "tmp/Temp/";
        EXPECT_EQ(folder, expected) << c.text;
        EXPECT_EQ(subfolders, c.subfolders) << c.text;
        EXPECT_EQ(minLevel, c.minLevel) << c.text;
        EXPECT_EQ(maxLevel, c.maxLevel) << c.text;
    }
}

struct Target {
    std::string folder;
    std::vector<std::string> masks;
    bool subfolders;
    std::uint16_t minLevel;
    std::uint16_t maxLevel;

    bool operator==(const Target&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Target& t) {
    out << t.folder << " [";
    for (const std::string& mask : t.masks)
        out << mask << ' ';
    return out << "] sub " << t.subfolders << " levels " << t.minLevel << '-' << t.maxLevel;
}

std::vector<Target> targetsOf(TFileCriteria& criteria) {
    std::vector<Target> targets;
    TTargetPaths& built = criteria.TargetPaths();
    for (int i = 0; i < built.Count(); ++i) {
        const TTargetPath& t = built.Items(i);
        targets.push_back(
            {t.Folder, {t.Masks.begin(), t.Masks.end()}, t.Subfolders, t.MinLevel, t.MaxLevel});
    }
    return targets;
}

TEST(TargetPaths, AreBuiltFromNamesLocationsAndPaths) {
    ASSERT_TRUE(platform::CodePage::select("UTF-8"));
    BuildCharTables();
    const std::string here = currentFolderBelow();
    struct Case {
        const char* fileName;
        const char* location;
        TStringList paths;
        std::vector<Target> targets;
    } const cases[] = {
        {"*.tmp;*.bak",
         "/tmp/c/;/tmp/d/",
         {},
         {{"/tmp/c/", {"*.tmp", "*.bak"}, true, 0, 0},
          {"/tmp/d/", {"*.tmp", "*.bak"}, true, 0, 0}}},
        {"*.tmp", "3>/tmp/Temp", {}, {{"/tmp/Temp/", {"*.tmp"}, true, 0, 3}}},
        {"*.tmp", "</tmp/Temp", {}, {{"/tmp/Temp/", {"*.tmp"}, false, 0, 0}}},
        {"*.a;*.b",
         "/tmp/Temp;/tmp/Temp/",
         {},
         {{"/tmp/Temp/", {"*.a", "*.b", "*.a", "*.b"}, true, 0, 0}}},
        {"*.a", "/tmp/Temp;/tmp/Temp", {}, {{"/tmp/Temp/", {"*.a"}, true, 0, 0}}},
        // Folders that differ in letter case are different folders.
        {"*.a",
         "/tmp/Temp;/tmp/temp",
         {},
         {{"/tmp/Temp/", {"*.a"}, true, 0, 0}, {"/tmp/temp/", {"*.a"}, true, 0, 0}}},
        // The last entry for a folder sets its subfolder switch and levels.
        {"*.a", "3>/tmp/x;</tmp/x/", {}, {{"/tmp/x/", {"*.a", "*.a"}, false, 0, 0}}},
        {"", "", {"2>/tmp/Logs/*.log"}, {{"/tmp/Logs/", {"*.log"}, true, 0, 2}}},
        {"", "", {"/tmp/Logs/"}, {{"/tmp/Logs/", {"*.*"}, true, 0, 0}}},
        {"", "", {"/tmp/Logs"}, {{"/tmp/", {"Logs"}, true, 0, 0}}},
        {"", "", {"  ", " /tmp/x/*.a "}, {{"/tmp/x/", {"*.a"}, true, 0, 0}}},
        {"*.tmp;*.bak",
         "/tmp/",
         {"/tmp/*.log"},
         {{"/tmp/", {"*.tmp", "*.bak", "*.log"}, true, 0, 0}}},
        {"", "Temp", {}, {{here + "Temp/", {"*.*"}, true, 0, 0}}},
        {"", "/tmp/x", {}, {{"/tmp/x/", {"*.*"}, true, 0, 0}}},
        {"*.tmp", "", {}, {}},
        {" ; ", " ; ", {" "}, {}},
    };
    for (const Case& c : cases) {
        TFileCriteria criteria;
        criteria.SetFileName(c.fileName);
        criteria.SetLocation(c.location);
        criteria.SetPaths(c.paths);
        EXPECT_EQ(targetsOf(criteria), c.targets)
            << "FileName '" << c.fileName << "' Location '" << c.location << "'";
    }
}

TEST(TargetPaths, FindFolderComparesExactly) {
    TTargetPaths targets;
    TTargetPath& temp = targets.AddFolder("/tmp/Temp", nullptr, true, 0, 0);
    EXPECT_EQ(targets.FindFolder("/tmp/Temp/"), &temp);
    EXPECT_EQ(targets.FindFolder("/tmp/temp/"), nullptr);
    EXPECT_EQ(targets.FindFolder("/tmp/Temp"), nullptr);
    EXPECT_EQ(&targets.AddFile("/tmp/Temp/*.x", false, 1, 2), &temp);
    EXPECT_EQ(targets.Count(), 1);
    EXPECT_EQ(temp.Masks, (TStringList{"*.*", "*.x"}));
    EXPECT_THROW(targets.Items(1), std::out_of_range);
}

} // namespace
