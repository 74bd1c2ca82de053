// SPDX-License-Identifier: GPL-3.0-or-later
// The clean-up of velmaro-find (--delete, --trash, --dry-run, --report, --json), run as the real
// program on fixture trees.

#include "FindProgram.h"
#include "JsonReader.h"
#include "TempFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace velmaro {
namespace {

using test::fileText;
using test::JsonValue;
using test::ProgramRun;
using test::runFind;
using test::TempFolder;

std::vector<std::string> linesOf(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = text.find(end, at);
        if (next == std::string::npos) {
            lines.push_back(text.substr(at) + "<no line end>");
            break;
        }
        lines.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return lines;
}

// Today's date as the C locale writes it.
std::string todayInTheCLocale() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%x", &local));
}

const std::string Separator(60, '-');

// A tree with junk in it: a.tmp (5 bytes), sub/b.tmp (1528 bytes), ~c.tmp (two masks match
// it, 3 bytes; 1536 bytes in all), a name with a newline and one that is not UTF-8, and keep.txt,
// which is no junk.
class CleanUpProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.file("tree/a.tmp", "12345");
        fixture.file("tree/sub/b.tmp", std::string(1528, 'b'));
        fixture.file("tree/~c.tmp", "ccc");
        fixture.file("tree/new\nline.tmp", "");
        fixture.file("tree/caf\xE9.tmp", "");
        keep = fixture.file("tree/keep.txt");
    }

    // Runs velmaro-find over the tree with the cleaner's rules, allowed to change the fixture.
    ProgramRun clean(std::vector<std::string> arguments, std::vector<std::string> environment = {},
                     const std::string& location = "",
                     const std::function<void(pid_t)>& started = {}) {
        std::vector<std::string> all{"--cleaner", "--catalogue", "all", "-l",
                                     location.empty() ? tree() : location};
        all.insert(all.end(), arguments.begin(), arguments.end());
        environment.insert(environment.begin(),
                           {"VELMARO_FIXTURE_ROOTS=" + fixture.path(), "LC_ALL=C"});
        return runFind(all, environment, started);
    }

    std::string tree() const { return fixture.path("tree"); }

    bool junkIsThere() const {
        for (const char* name : {"a.tmp", "sub/b.tmp", "~c.tmp", "new\nline.tmp", "caf\xE9.tmp"})
            if (!test::entryExists(fixture.path("tree/" + std::string(name))))
                return false;
        return true;
    }

    TempFolder fixture{TempFolder::Guard::fixtureRoot};
    std::string keep;
};

// The report as the window writes it, with the duration left open.
void expectReport(const std::vector<std::string>& lines, const std::string& deleted,
                  const std::string& freed, const std::vector<std::string>& failed = {}) {
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], todayInTheCLocale());
    EXPECT_TRUE(
        std::regex_match(lines[1], std::regex("Продолжительность поиска: \\d+:\\d\\d\\.\\d{3}\\.")))
        << lines[1];
    std::vector<std::string> rest{"Удалено файлов: " + deleted, "Очищено маста: " + freed};
    if (!failed.empty()) {
        rest.insert(rest.end(), {"", "Не удалось удалить следующие файлы:", Separator});
        rest.insert(rest.end(), failed.begin(), failed.end());
        rest.push_back(Separator);
    }
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), rest);
}

TEST_F(CleanUpProgramTest, DeleteRemovesEveryFileFoundOnceAndPrintsTheReport) {
    const ProgramRun run = clean({"--delete"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // 1536 bytes: ~c.tmp, which two masks find, counts once.
    expectReport(linesOf(run.out), "5", "1.5 Kb");
    EXPECT_FALSE(test::entryExists(fixture.path("tree/a.tmp")));
    EXPECT_FALSE(test::entryExists(fixture.path("tree/sub/b.tmp")));
    EXPECT_FALSE(test::entryExists(fixture.path("tree/~c.tmp")));
    EXPECT_FALSE(test::entryExists(fixture.path("tree/caf\xE9.tmp")));
    EXPECT_TRUE(test::entryExists(keep));
}

// The same files are reported as failures, with the status that says so, and the report file
// holds the very lines of standard output with CR LF ends.
TEST_F(CleanUpProgramTest, FilesThatStayAreReportedAndTheReportFileIsTheWindows) {
    TempFolder outside;
    const std::string guarded = outside.file("tree/z.tmp");
    const std::string report = fixture.path("report");
    const ProgramRun run =
        clean({"--delete", "--report", report}, {}, tree() + ";" + outside.path("tree"));
    EXPECT_EQ(run.status, 1);
    // The run may change nothing outside its fixture folder: the guard is on in the tests.
    EXPECT_TRUE(test::entryExists(guarded));
    expectReport(linesOf(run.out), "5", "1.5 Kb", {guarded});
    EXPECT_EQ(linesOf(fileText(report), "\r\n"), linesOf(run.out));
    // The name is the one given: no ".txt" is added.
    EXPECT_FALSE(test::entryExists(report + ".txt"));
}

TEST_F(CleanUpProgramTest, AReportFileThatCannotBeWrittenStopsTheRunBeforeAnythingChanges) {
    fixture.file("plain");
    const ProgramRun run = clean({"--delete", "--report", fixture.path("plain/report.txt")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(fixture.path("plain/report.txt")), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(junkIsThere());
}

TEST_F(CleanUpProgramTest, DryRunChangesNothingAndReportsWhatDeleteWould) {
    struct stat before;
    ASSERT_EQ(lstat(fixture.path("tree/a.tmp").c_str(), &before), 0);
    const ProgramRun dry = clean({"--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    expectReport(linesOf(dry.out), "5", "1.5 Kb");
    EXPECT_TRUE(junkIsThere());
    struct stat after;
    ASSERT_EQ(lstat(fixture.path("tree/a.tmp").c_str(), &after), 0);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);

    const ProgramRun real = clean({"--delete"});
    const std::vector<std::string> foreseen = linesOf(dry.out);
    const std::vector<std::string> done = linesOf(real.out);
    ASSERT_EQ(foreseen.size(), done.size());
    EXPECT_TRUE(std::equal(foreseen.begin() + 2, foreseen.end(), done.begin() + 2)) << real.out;
}

// A signal ends the pass between two files, never within one: no file is left under the
// private name a deletion gives it for a moment, and the report tells what was done.
TEST_F(CleanUpProgramTest, ASignalStopsTheDeletionAfterTheCurrentFile) {
    constexpr int files = 2000; // about 2 s with the pause after each deletion
    for (int i = 0; i < files; ++i)
        fixture.file("many/" + std::to_string(i) + ".tmp");
    const std::string many = fixture.path("many");
    const auto count = [&] {
        const std::filesystem::directory_iterator entries(many);
        return std::distance(std::filesystem::begin(entries), std::filesystem::end(entries));
    };
    const ProgramRun run = clean({"--delete"}, {}, many, [&](pid_t program) {
        // Signalled once the pass has begun to delete.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (count() == files && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(program, SIGTERM);
    });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("stopped"), std::string::npos) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    const int deleted = std::stoi(lines[2].substr(lines[2].rfind(' ') + 1));
    EXPECT_GT(deleted, 0);
    EXPECT_LT(deleted, files);
    for (const auto& entry : std::filesystem::directory_iterator(many))
        EXPECT_TRUE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
    EXPECT_EQ(count(), files - deleted);
}

TEST_F(CleanUpProgramTest, TrashMovesTheFilesIntoTheHomeTrashAndFreesNothing) {
    const std::string data = fixture.path("data");
    const ProgramRun run = clean({"--trash"}, {"XDG_DATA_HOME=" + data});
    EXPECT_EQ(run.status, 0) << run.err;
    expectReport(linesOf(run.out), "5", "0 b");
    EXPECT_EQ(fileText(data + "/Trash/files/b.tmp"), std::string(1528, 'b'));
    EXPECT_NE(fileText(data + "/Trash/info/b.tmp.trashinfo")
                  .find("\nPath=" + fixture.path() + "/tree/sub/b.tmp\n"),
              std::string::npos);
    EXPECT_TRUE(test::entryExists(data + "/Trash/files/new\nline.tmp"));
    EXPECT_FALSE(test::entryExists(fixture.path("tree/a.tmp")));
    EXPECT_TRUE(test::entryExists(keep));
}

// Every line parses as JSON; paths come back byte for byte, as strings or byte arrays.
TEST_F(CleanUpProgramTest, JsonGivesEveryMatchEveryResultAndTheTotals) {
    const std::string data = fixture.path("data");
    const ProgramRun run =
        clean({"--trash", "--json", "--events", "--threaded"}, {"XDG_DATA_HOME=" + data});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto records = test::ParseJsonLines(run.out);
    ASSERT_TRUE(records) << run.out;
    std::multiset<std::string> matched;
    std::multiset<std::string> trashed;
    const JsonValue* report = nullptr;
    std::vector<std::string> events;
    for (const JsonValue& record : *records) {
        events.push_back(record["event"].text);
        const std::string event = record["event"].text;
        const std::optional<std::string> path = record["path"].pathBytes();
        if (event == "match") {
            ASSERT_TRUE(path);
            matched.insert(*path);
            EXPECT_EQ(record["attributes"].number, 32) << *path;
            EXPECT_TRUE(std::regex_match(record["modified"].text,
                                         std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})")));
        } else if (event == "trashed") {
            ASSERT_TRUE(path);
            trashed.insert(*path);
            if (*path == tree() + "/sub/b.tmp") {
                EXPECT_EQ(record["size"].number, 1528);
            }
        } else if (event == "folder") {
            EXPECT_TRUE(path && path->starts_with(tree())) << record["path"].text;
        } else if (event == "finish") {
            EXPECT_EQ(record["aborted"].kind, JsonValue::Kind::boolean);
            EXPECT_FALSE(record["aborted"].boolean);
        } else if (event != "begin") {
            EXPECT_EQ(event, "report");
            report = &record;
        }
    }
    // The search's events first, then the results, the totals last.
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "begin");
    EXPECT_EQ(events[events.size() - 7], "finish");
    EXPECT_EQ(events.back(), "report");
    const std::multiset<std::string> junk{tree() + "/a.tmp", tree() + "/sub/b.tmp",
                                          tree() + "/~c.tmp", tree() + "/new\nline.tmp",
                                          tree() + "/caf\xE9.tmp"};
    std::multiset<std::string> everyMatch = junk;
    everyMatch.insert(tree() + "/~c.tmp");
    EXPECT_EQ(matched, everyMatch);
    EXPECT_EQ(trashed, junk);
    ASSERT_TRUE(report);
    EXPECT_EQ((*report)["removed"].number, 5);
    EXPECT_EQ((*report)["freed"].number, 0);
    EXPECT_EQ((*report)["failed"].number, 0);
    // Only the name that is not UTF-8 is written as bytes.
    EXPECT_NE(run.out.find("\"path\":\"" + tree() + "/new\\nline.tmp\""), std::string::npos);
    EXPECT_EQ(run.out.find("caf\xE9"), std::string::npos);
}

// Under a Russian 8-bit locale the report reads as the window's there: the date as
// DD.MM.YYYY, the decimal comma, the texts in the code page.
TEST_F(CleanUpProgramTest, TheReportFollowsTheUsersLocale) {
    const std::string locales = fixture.folder("locales");
    const std::string command =
        "localedef -i ru_RU -f CP1251 '" + locales + "/ru_RU.CP1251' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build ru_RU.CP1251 (Debian package locales missing?)";
    const ProgramRun run = clean({"--dry-run"}, {"LOCPATH=" + locales, "LC_ALL=ru_RU.CP1251"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    EXPECT_EQ(lines[0], std::string(date, std::strftime(date, sizeof date, "%d.%m.%Y", &local)));
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xE5"
                                                      "\xEB\xFC\xED\xEE\xF1\xF2\xFC \xEF\xEE\xE8"
                                                      "\xF1\xEA\xE0: "
                                                      R"(\d+:\d\d\.\d{3}\.)")))
        << lines[1];
    EXPECT_EQ(lines[2], "\xD3\xE4\xE0\xEB\xE5\xED\xEE \xF4\xE0\xE9\xEB\xEE\xE2: 5");
    EXPECT_EQ(lines[3], "\xCE\xF7\xE8\xF9\xE5\xED\xEE \xEC\xE0\xF1\xF2\xE0: 1,5 Kb");
}

TEST(JsonReaderTest, ReadsOnlyStrictJson) {
    const auto value = test::ParseJson(R"({"a":[1,-2.5e1,true,null],"b":"\u00e9\ud83d\ude00\n"})");
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["a"].items.size(), 4u);
    EXPECT_EQ((*value)["a"].items[1].number, -25);
    EXPECT_EQ((*value)["b"].text, "\xC3\xA9\xF0\x9F\x98\x80\n");
    for (const char* bad : {"{\"a\":1,}", "[1 2]", "\"tab\there\"", "\"\\x\"", "\"\\udc00\"",
                            "{\"a\":1}{}", "01", "\"caf\xE9\"", "{\"a\":1,\"a\":2}"})
        EXPECT_FALSE(test::ParseJson(bad)) << bad;
}

} // namespace
} // namespace velmaro
