#include "support/TempTree.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace velmaro {
namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs velmaro-find with Arguments and collects what it prints.
ProgramRun runFind(std::vector<std::string> arguments) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        std::vector<char*> argv{const_cast<char*>(VELMARO_FIND_PATH)};
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    ProgramRun run;
    // The outputs of these runs are small, so reading one pipe after the other cannot stall.
    for (const auto& [fd, text] : {std::pair{out[0], &run.out}, std::pair{err[0], &run.err}}) {
        char buffer[4096];
        for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
            text->append(buffer, static_cast<std::size_t>(got));
        close(fd);
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

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
    testing::TempTree tree;
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
