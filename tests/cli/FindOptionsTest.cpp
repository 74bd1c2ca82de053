// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FindOptions.h"

#include "cleaner/CleanerPreset.h"
#include "cleaner/JunkCatalogue.h"
#include "cli/FindHelp.h"
#include "cli/TimeArgument.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace velmaro {
namespace {

// Parses Arguments (without the program name) into Criteria.
FindOptions parse(std::vector<std::string> arguments, TSearchCriteria& criteria) {
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    return ParseFindOptions(pointers, criteria);
}

struct BadCase {
    std::vector<std::string> arguments;
    const char* named; // the option or value the message must name
};

TEST(FindOptionsTest, RejectsABadOptionOrValueNamingIt) {
    const BadCase cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"somewhere"}, "somewhere"},
        {{"--name"}, "--name"},
        {{"--min-level", "x"}, "--min-level"},
        {{"--max-level", "70000"}, "--max-level"},
        {{"--size-min", "12k"}, "--size-min"},
        {{"-a", "Hidden=maybe"}, "Hidden=maybe"},
        {{"--attr", "Nothing=set"}, "--attr"},
        {{"--attr", "Hidden"}, "--attr"},
        {{"--catalogue", "some"}, "--catalogue"},
        {{"--created-before", "2024-13-01"}, "--created-before"},
        {{"--accessed-after", "25:00"}, "--accessed-after"},
        {{"--modified-after", "2024-01-01T10"}, "--modified-after"},
        {{"--threaded=yes"}, "--threaded"},
        {{"--readers", "-1"}, "--readers"},
        {{"--readers", "65"}, "--readers"},
        {{"-n"}, "-n"},
        {{"-0n"}, "-n"},
        {{"-0x"}, "-x"},
        {{"--size"}, "--size-min --size-max"},
        {{"--max-l", "x"}, "--max-level"},
        {{"--", "-n"}, "-n"},
        {{"-"}, "-"},
        {{"-n", "*.tmp", "extra"}, "extra"},
        {{"--delete", "--trash"}, "--trash"},
        {{"--dry-run", "--delete"}, "--dry-run"},
        {{"--d"}, "--delete --dry-run"},
        {{"--report", "r.txt"}, "--report"},
        {{"--delete", "--report="}, "--report"},
        {{"--json", "--long"}, "--long"},
        {{"--json", "-0"}, "--null"},
        {{"--delete", "--long"}, "--long"},
        {{"--trash", "--events"}, "--events"},
    };
    for (const BadCase& c : cases) {
        TSearchCriteria criteria;
        try {
            parse(c.arguments, criteria);
            ADD_FAILURE() << "accepted " << c.arguments.back();
        } catch (const OptionError& error) {
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
        }
    }
}

TEST(FindOptionsTest, SetsTheCriteriaInTheOrderGiven) {
    TSearchCriteria criteria;
    const FindOptions options = parse({"--cleaner",
                                       "--catalogue",
                                       "all",
                                       "-n",
                                       "*.x",
                                       "-l",
                                       "2>/data",
                                       "-p",
                                       "/a/*.log",
                                       "--path=/b/*.bak",
                                       "-f",
                                       "*/keep/*",
                                       "--no-subfolders",
                                       "--min-level",
                                       "2",
                                       "--max-level=5",
                                       "-a",
                                       "Directory=set",
                                       "--attr",
                                       "Hidden=anyunset",
                                       "--size-min",
                                       "10",
                                       "--size-max",
                                       "20",
                                       "--phrase",
                                       "needle",
                                       "--whole-word",
                                       "--negate",
                                       "--threaded",
                                       "--readers",
                                       "0",
                                       "--long",
                                       "-0",
                                       "--events"},
                                      criteria);
    const TFileCriteria& files = criteria.Files();
    EXPECT_EQ(files.FileName(), "*.x");
    EXPECT_EQ(files.Location(), "2>/data");
    EXPECT_EQ(files.Paths(), (TStringList{"/a/*.log", "/b/*.bak"}));
    EXPECT_EQ(files.Filters().Count(), static_cast<int>(CleanerPathFilters().size()) + 1);
    EXPECT_EQ(files.Filters().Items(files.Filters().Count() - 1), "*/keep/*");
    EXPECT_FALSE(files.Subfolders());
    EXPECT_EQ(files.MinLevel(), 2);
    EXPECT_EQ(files.MaxLevel(), 5);
    EXPECT_EQ(criteria.Attributes().Directory(), fsSet);
    EXPECT_EQ(criteria.Attributes().Hidden(), fsAnyUnset);
    EXPECT_EQ(criteria.Attributes().System(), fsIgnore);
    EXPECT_EQ(criteria.Size().Min(), 10);
    EXPECT_EQ(criteria.Size().Max(), 20);
    EXPECT_EQ(criteria.Content().Phrase(), "needle");
    EXPECT_EQ(criteria.Content().Options(), (TContentSearchOptions{csoWholeWord, csoNegate}));
    EXPECT_TRUE(options.Threaded);
    EXPECT_EQ(options.Readers, 0u);
    EXPECT_TRUE(options.Output.Long);
    EXPECT_TRUE(options.Output.Null);
    EXPECT_TRUE(options.Output.Events);
    EXPECT_FALSE(options.Help);
}

TEST(FindOptionsTest, TakesOneCleanUpWithItsReportAndJson) {
    TSearchCriteria criteria;
    EXPECT_EQ(parse({}, criteria).Action, CleanUp::None);
    const FindOptions options =
        parse({"--delete", "--report=r.txt", "--delete", "--json", "--events"}, criteria);
    EXPECT_EQ(options.Action, CleanUp::Delete);
    EXPECT_EQ(options.ReportFile, "r.txt");
    EXPECT_TRUE(options.Output.Json);
    EXPECT_EQ(parse({"--trash"}, criteria).Action, CleanUp::Trash);
    EXPECT_EQ(parse({"--dry"}, criteria).Action, CleanUp::DryRun);
}

struct FormCase {
    std::vector<std::string> arguments;
    const char* name; // the file-name masks the arguments leave
};

// The forms getopt_long reads, and the order of application they keep.
TEST(FindOptionsTest, ReadsValuesInEveryGetoptLongForm) {
    const std::string all = junkMaskString(JunkSelection::All);
    const FormCase cases[] = {
        {{"-n", "*.tmp"}, "*.tmp"},
        {{"-n*.tmp"}, "*.tmp"},
        {{"--name", "*.tmp"}, "*.tmp"},
        {{"--name=*.tmp"}, "*.tmp"},
        {{"--na=*.tmp"}, "*.tmp"},
        {{"--nam", "*.tmp"}, "*.tmp"},
        {{"-0n*.tmp"}, "*.tmp"},
        {{"-0n", "*.tmp"}, "*.tmp"},
        {{"-n=x"}, "=x"},
        {{"--name=a=b"}, "a=b"},
        {{"-n", "-x.tmp"}, "-x.tmp"},
        {{"--name", "--long"}, "--long"},
        {{"-n", "--"}, "--"},
        {{"--name="}, ""},
        {{"-n", ""}, ""},
        {{"-n", "*.tmp", "--"}, "*.tmp"},
        {{"-n*.a", "--name=*.b"}, "*.b"},
        {{"-n", "*.x", "--catalogue", "all"}, all.c_str()},
        {{"--catalogue=all", "-n*.x"}, "*.x"},
    };
    for (const FormCase& c : cases) {
        TSearchCriteria criteria;
        const FindOptions options = parse(c.arguments, criteria);
        EXPECT_EQ(criteria.Files().FileName(), c.name) << c.arguments.front();
        EXPECT_FALSE(options.Output.Long) << c.arguments.front();
    }
    TSearchCriteria criteria;
    const FindOptions options = parse({"-0h", "--vers", "--thr", "--location="}, criteria);
    EXPECT_TRUE(options.Output.Null);
    EXPECT_TRUE(options.Help);
    EXPECT_TRUE(options.Version);
    EXPECT_TRUE(options.Threaded);
    EXPECT_EQ(criteria.Files().Location(), "");
}

// The whole text of the file at path, or a failure.
std::string fileText(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file) << path;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Whether text names the option ("-n", "--name") as a word of its own.
bool namesOption(const std::string& text, const std::string& option) {
    return std::regex_search(text, std::regex("(^|[^-\\w])" + option + "($|[^-\\w])"));
}

// A manual page's text without font changes and with plain hyphens.
std::string manualText(const std::string& roff) {
    return std::regex_replace(std::regex_replace(roff, std::regex(R"(\\f[BIRP])"), ""),
                              std::regex(R"(\\-)"), "-");
}

TEST(FindOptionsTest, EveryOptionIsInTheHelpTheManualAndTheCompletion) {
    const std::string help = FindHelpText();
    const std::string manual = manualText(fileText(VELMARO_SOURCE_DIR "/man/velmaro-find.1.in"));
    const std::string completion =
        fileText(VELMARO_SOURCE_DIR "/resources/velmaro-find.bash-completion");
    for (const OptionSpec& option : FindOptionSpecs()) {
        std::vector<std::string> names{"--" + std::string(option.LongName)};
        if (option.ShortName != '\0')
            names.push_back({'-', option.ShortName});
        for (const std::string& name : names) {
            EXPECT_TRUE(namesOption(help, name)) << "help: " << name;
            EXPECT_TRUE(namesOption(manual, name)) << "manual: " << name;
            EXPECT_TRUE(namesOption(completion, name)) << "completion: " << name;
        }
    }
}

TEST(FindOptionsTest, TheCataloguePresetsTakeTheCatalogueMasks) {
    TSearchCriteria criteria;
    parse({"--catalogue", "recommended"}, criteria);
    EXPECT_EQ(criteria.Files().FileName(), junkMaskString(JunkSelection::Recommended));
    parse({"--catalogue", "all"}, criteria);
    EXPECT_EQ(criteria.Files().FileName(), junkMaskString(JunkSelection::All));
}

TEST(FindOptionsTest, TheCleanerPresetKeepsTheSystemsFoldersOutInOrder) {
    TSearchCriteria criteria;
    criteria.Files().Filters().Add("*.old");
    ApplyCleanerPreset(criteria);
    const TStringList expected = {
        ">/var/tmp/*", "/bin/*", "/boot/*",         "/efi/*",     "/etc/*",
        "/lib*",       "/opt/*", "/sbin/*",         "/snap/*",    "/srv/*",
        "/usr/*",      "/var/*", "*/COMMON FILES*", "*/*Office*", "*/.local/share/Trash/*",
        "*/.Trash-*"};
    EXPECT_EQ(criteria.Files().Filters(), expected);
    EXPECT_EQ(criteria.Attributes().Hidden(), fsIgnore);
    EXPECT_EQ(criteria.Attributes().System(), fsIgnore);
    EXPECT_EQ(criteria.Attributes().Directory(), fsUnset);
}

struct TimeCase {
    const char* text;
    double value;
};

TEST(FindOptionsTest, ReadsTimeBoundsInEveryForm) {
    const TimeCase cases[] = {
        {"39522", 39522},
        {"0.5", 0.5},
        {"1899-12-30", 0},
        {"2000-01-01", 36526},
        {"12:00", 0.5},
        {"06:00:30.500", (6 * 3600 + 30.5) / 86400},
        {"2000-01-01T18:00", 36526.75},
        {"1899-12-29T06:00", -1.25},
    };
    for (const TimeCase& c : cases) {
        const auto value = ParseTimeArgument(c.text);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
    }
    for (const char* bad : {"", "2000-02-30", "24:00", "12:60", "1e999", "2000-01-01 10:00", "x"})
        EXPECT_FALSE(ParseTimeArgument(bad).has_value()) << bad;
}

} // namespace
} // namespace velmaro
