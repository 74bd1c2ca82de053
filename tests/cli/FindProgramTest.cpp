// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindProgram.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaro {
namespace {

using test::ProgramRun;
using test::runFind;

TEST(FindProgramTest, ABadOptionEndsWithStatusTwoNamingIt) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--frobnicate"}, {"--size-max", "lots"}}) {
        const ProgramRun run = runFind(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(arguments[0]), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(FindProgramTest, VersionComesFromTheProgramsVersionResource) {
    const ProgramRun run = runFind({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "velmaro-find 2.25 beta\n");
    EXPECT_EQ(run.err, "");
}

TEST(FindProgramTest, HelpDocumentsEveryOption) {
    const ProgramRun run = runFind({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--name",
                               "--location",
                               "--path",
                               "--filter",
                               "--no-subfolders",
                               "--min-level",
                               "--max-level",
                               "--attr",
                               "--size-min",
                               "--size-max",
                               "--created-before",
                               "--created-after",
                               "--modified-before",
                               "--modified-after",
                               "--accessed-before",
                               "--accessed-after",
                               "--phrase",
                               "--case-sensitive",
                               "--whole-word",
                               "--negate",
                               "--threaded",
                               "--catalogue",
                               "--cleaner",
                               "--long",
                               "--null",
                               "--events",
                               "--help"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

class FindProgramTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.file("new\nline.tmp", "12345");
        tree.folder("sub");
        tree.file("sub/a.tmp");
    }
    test::TempFolder tree;
};

TEST_F(FindProgramTreeTest, PrintsRawPathsEndedByNulWithTheLongFields) {
    const ProgramRun run = runFind({"-l", "<" + tree.root(), "-n", "*.tmp", "-0", "--long"});
    EXPECT_EQ(run.status, 0);
    const std::string prefix = tree.root() + "new\nline.tmp\t5\t00000020\t";
    ASSERT_EQ(run.out.substr(0, prefix.size()), prefix);
    ASSERT_EQ(run.out.back(), '\0');
    // Three times of the form YYYY-MM-DD HH:MM:SS.mmm, tab-separated.
    const std::string times = run.out.substr(prefix.size(), run.out.size() - prefix.size() - 1);
    ASSERT_EQ(times.size(), 3 * 23 + 2) << times;
    EXPECT_EQ(times[4], '-');
    EXPECT_EQ(times[10], ' ');
    EXPECT_EQ(times[19], '.');
    EXPECT_EQ(times[23], '\t');
}

TEST_F(FindProgramTreeTest, PrintsEveryEventInOrder) {
    const std::string sub = tree.root() + "sub/";
    const std::string expected = "begin\nfolder\t" + tree.root() + "\nfolder\t" + sub +
                                 "\nmatch\t" + sub + "a.tmp\nfinish\taborted=0\n";
    for (const bool threaded : {false, true}) {
        for (const char* readers : {"0", "3"}) {
            std::vector<std::string> arguments{"-l",       "2>" + tree.root(), "-n",   "a.tmp",
                                               "--events", "--readers",        readers};
            if (threaded)
                arguments.push_back("--threaded");
            const ProgramRun run = runFind(arguments);
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out, expected) << (threaded ? "threaded" : "plain") << " " << readers;
        }
    }
}

} // namespace
} // namespace velmaro
