// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FindFile.h"

#include "SearchRecorder.h"
#include "engine/ApplicationError.h"
#include "engine/CharTables.h"
#include "platform/FolderListing.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace velmaro {
namespace {

using test::TempFolder;
using testing::SearchRecorder;
using testing::WalkMode;
using Events = std::vector<std::string>;

// Every walk test runs inside Execute and on the worker thread, each with and without reading
// ahead.
class FindFileTest : public ::testing::TestWithParam<WalkMode> {
protected:
    static void SetUpTestSuite() { BuildCharTables(); }

    void SetUp() override {
        tree.file("a.tmp");
        tree.file("~a.tmp");
        tree.file("b.txt");
        tree.file(".hid.tmp");
        tree.folder("sub");
        tree.file("sub/c.tmp");
        tree.folder("sub/deep");
        tree.file("sub/deep/d.tmp");
        tree.folder(".hidden");
        tree.file(".hidden/e.tmp");
    }

    // A recorder searching Location with Masks in the test's walk mode.
    std::unique_ptr<SearchRecorder> recorder(const std::string& location,
                                             const std::string& masks) {
        auto result = std::make_unique<SearchRecorder>(tree.root(), GetParam());
        result->criteria().Files().SetLocation(location);
        result->criteria().Files().SetFileName(masks);
        return result;
    }

    static Events sorted(Events events) {
        std::sort(events.begin(), events.end());
        return events;
    }

    TempFolder tree;
};

TEST_P(FindFileTest, ReportsEachMaskInTurnAndRepeatsAFileThatTwoMasksMatch) {
    auto search = recorder("<" + tree.root(), "*.tmp;~*.*");
    search->run();
    const Events events = search->events();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0], "begin");
    EXPECT_EQ(events[1], "folder ");
    EXPECT_EQ(sorted({events[2], events[3]}), (Events{"match a.tmp", "match ~a.tmp"}));
    EXPECT_EQ(events[4], "match ~a.tmp");
    EXPECT_EQ(events[5], "finish aborted=0");
}

TEST_P(FindFileTest, KeepsTheDirectoryOrderWithinEachMask) {
    for (int i = 0; i < 12; ++i) {
        tree.file("sub/f" + std::to_string(i) + ".tmp");
        tree.file("sub/~g" + std::to_string(i) + ".dat");
    }
    platform::FolderListing listing;
    ASSERT_TRUE(listing.open(tree.path("sub")));
    Events expected;
    for (const char* prefix : {"f", "~"})
        for (std::size_t i = 0; i < listing.count(); ++i)
            if (listing.name(i).starts_with(prefix))
                expected.push_back("match sub/" + std::string(listing.name(i)));

    auto search = recorder("<" + tree.path("sub"), "f*.tmp;~*.*");
    search->run();
    EXPECT_EQ(search->events("match "), expected);
}

TEST_P(FindFileTest, WalksDepthFirstWithAFolderBeforeItsSubfolders) {
    auto search = recorder(tree.root(), "*.tmp");
    search->run();
    const Events events = search->events();
    const auto at = [&](const std::string& event) {
        return std::find(events.begin(), events.end(), event) - events.begin();
    };
    EXPECT_LT(at("folder sub/"), at("match sub/c.tmp"));
    EXPECT_LT(at("match sub/c.tmp"), at("folder sub/deep/"));
    EXPECT_LT(at("folder sub/deep/"), at("match sub/deep/d.tmp"));
    EXPECT_EQ(sorted(search->events("match ")),
              (Events{"match a.tmp", "match sub/c.tmp", "match sub/deep/d.tmp", "match ~a.tmp"}));
}

TEST_P(FindFileTest, ReportsNestedTargetsOnceForEachTarget) {
    auto search = recorder(tree.root() + ";" + tree.path("sub/deep"), "d.tmp");
    search->run();
    EXPECT_EQ(search->events("match "), (Events{"match sub/deep/d.tmp", "match sub/deep/d.tmp"}));
}

struct LevelCase {
    const char* location;
    Events matches;
    Events folders;
};

TEST_P(FindFileTest, KeepsToTheLevelLimits) {
    const LevelCase cases[] = {
        {"1>", {"match a.tmp"}, {"folder "}},
        {"2>", {"match a.tmp", "match sub/c.tmp"}, {"folder ", "folder sub/"}},
        {"2-0>",
         {"match sub/c.tmp", "match sub/deep/d.tmp"},
         {"folder ", "folder sub/", "folder sub/deep/"}},
        {"<", {"match a.tmp"}, {"folder "}},
    };
    for (const LevelCase& c : cases) {
        auto search = recorder(c.location + tree.root(), "?.tmp");
        search->run();
        EXPECT_EQ(sorted(search->events("match ")), c.matches) << c.location;
        EXPECT_EQ(search->events("folder "), c.folders) << c.location;
    }
}

struct IgnoreCase {
    TFolderIgnore answer;
    Events matches;
    bool deepEntered;
};

TEST_P(FindFileTest, FollowsTheFolderChangeAnswer) {
    const IgnoreCase cases[] = {
        {fiNone, {"match sub/c.tmp", "match sub/deep/d.tmp"}, true},
        {fiJustThis, {"match sub/deep/d.tmp"}, true},
        {fiJustSubfolders, {"match sub/c.tmp"}, false},
        {fiThisAndSubfolders, {}, false},
    };
    for (const IgnoreCase& c : cases) {
        auto search = recorder(tree.root(), "?.tmp");
        const std::string target = tree.path("sub/");
        search->folderHook = [&](TFindFile&, const std::string& folder, TFolderIgnore& ignore) {
            if (folder == target)
                ignore = c.answer;
        };
        search->run();
        Events matches = search->events("match sub/");
        EXPECT_EQ(sorted(matches), c.matches) << c.answer;
        const Events folders = search->events("folder ");
        EXPECT_EQ(std::count(folders.begin(), folders.end(), "folder sub/deep/"), c.deepEntered)
            << c.answer;
    }
}

TEST_P(FindFileTest, EntersHiddenFoldersOnlyWhenHiddenIsIgnored) {
    auto byDefault = recorder(tree.root(), "*.tmp");
    byDefault->run();
    const Events folders = byDefault->events("folder ");
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "folder .hidden/"), 0);
    EXPECT_EQ(byDefault->events("match ").size(), 4u);

    auto ignoring = recorder(tree.root(), "*.tmp");
    ignoring->criteria().Attributes().SetHidden(fsIgnore);
    ignoring->criteria().Attributes().SetSystem(fsIgnore);
    ignoring->run();
    const Events matches = ignoring->events("match ");
    EXPECT_EQ(std::count(matches.begin(), matches.end(), "match .hidden/e.tmp"), 1);
    EXPECT_EQ(std::count(matches.begin(), matches.end(), "match .hid.tmp"), 1);
}

TEST_P(FindFileTest, PathFiltersRejectFilesButNeverStopTheWalk) {
    auto search = recorder(tree.root(), "*.tmp");
    search->criteria().Files().Filters().Add(">*/deep/*");
    search->criteria().Files().Filters().Add("*/sub/*");
    search->run();
    EXPECT_EQ(sorted(search->events("match ")),
              (Events{"match a.tmp", "match sub/deep/d.tmp", "match ~a.tmp"}));
}

TEST_P(FindFileTest, ReportsFoldersOnlyWhenTheCriteriaAllowThem) {
    auto search = recorder("<" + tree.root(), "sub");
    search->run();
    EXPECT_TRUE(search->events("match ").empty());

    auto folders = recorder("<" + tree.root(), "sub");
    folders->criteria().Attributes().SetDirectory(fsSet);
    folders->run();
    EXPECT_EQ(folders->events("match "), (Events{"match sub"}));
}

TEST_P(FindFileTest, AbortFromAMatchEndsTheWalkAtOnce) {
    auto search = recorder(tree.root(), "*.*");
    search->criteria().Attributes().Clear();
    search->matchHook = [](TFindFile& sender, const TFileDetails&) { sender.Abort(); };
    search->run();
    const Events events = search->events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[events.size() - 2].substr(0, 6), "match ");
    EXPECT_EQ(events.back(), "finish aborted=1");
    EXPECT_EQ(search->events("match ").size(), 1u);
    EXPECT_TRUE(search->find().Aborted());

    search->matchHook = nullptr;
    search->run();
    EXPECT_FALSE(search->find().Aborted());
    EXPECT_EQ(search->events().back(), "finish aborted=0");
}

TEST_P(FindFileTest, AnErrorInAHandlerEndsTheSearchAndIsReported) {
    auto search = recorder(tree.root(), "a.tmp");
    search->matchHook = [](TFindFile&, const TFileDetails&) {
        throw std::runtime_error("no room");
    };
    std::string shown;
    const TApplicationErrorHook previous =
        SetApplicationErrorHook([&](const std::string& className, const std::string& message) {
            shown = className + ": " + message;
        });
    if (GetParam().threaded) {
        search->run();
        EXPECT_EQ(shown, "runtime_error: no room");
    } else {
        EXPECT_THROW(search->run(), std::runtime_error);
        EXPECT_EQ(shown, "");
    }
    SetApplicationErrorHook(previous);
    EXPECT_EQ(search->events().back(), "finish aborted=0");
    EXPECT_FALSE(search->find().Busy());
}

TEST_P(FindFileTest, RunsOnItsOwnCopyOfTheCriteria) {
    auto search = recorder("<" + tree.root(), "a.tmp");
    std::atomic<bool> changed = false;
    search->folderHook = [&](TFindFile& sender, const std::string&, TFolderIgnore&) {
        if (!GetParam().threaded)
            sender.Criteria().Files().SetFileName("b.txt");
        while (!changed && GetParam().threaded)
            std::this_thread::yield();
    };
    search->find().Execute();
    if (GetParam().threaded) {
        search->criteria().Files().SetFileName("b.txt");
        changed = true;
    }
    search->waitUntilIdle();
    EXPECT_EQ(search->events("match "), (Events{"match a.tmp"}));
}

TEST_P(FindFileTest, FindsNothingWithoutALocation) {
    auto search = recorder("", "*.*");
    search->run();
    EXPECT_EQ(search->events(), (Events{"begin", "finish aborted=0"}));
}

INSTANTIATE_TEST_SUITE_P(WalkModes, FindFileTest, ::testing::ValuesIn(testing::WalkModes),
                         [](const auto& info) { return testing::walkModeName(info.param); });

// The threaded search alone: Execute returns while the worker walks.
class ThreadedFindFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { BuildCharTables(); }

    void SetUp() override {
        tree.file("a.tmp");
        search.criteria().Files().SetLocation(tree.root());
        search.criteria().Files().SetFileName("*.tmp");
    }

    // Starts the search and returns once its worker holds in the first folder, where it stays
    // until the search is aborted.
    void startAndHoldInTheFirstFolder() {
        search.folderHook = [this](TFindFile& sender, const std::string&, TFolderIgnore&) {
            entered = true;
            while (!sender.Aborted())
                std::this_thread::yield();
        };
        search.find().Execute();
        while (!entered)
            std::this_thread::yield();
    }

    std::atomic<bool> entered = false;
    TempFolder tree;
    SearchRecorder search{tree.root(), WalkMode{true, 2}};
};

TEST_F(ThreadedFindFileTest, ExecuteReturnsAtOnceAndASecondExecuteIsIgnored) {
    std::atomic<bool> release = false;
    search.folderHook = [&](TFindFile&, const std::string&, TFolderIgnore&) {
        while (!release)
            std::this_thread::yield();
    };
    search.find().Execute();
    EXPECT_TRUE(search.find().Busy());
    search.find().Execute();
    release = true;
    search.waitUntilIdle();
    EXPECT_EQ(search.events(), (Events{"begin", "folder ", "match a.tmp", "finish aborted=0"}));
}

TEST_F(ThreadedFindFileTest, DestroyingABusyComponentAbortsAndWaitsForTheWorker) {
    startAndHoldInTheFirstFolder();
    search.destroy();
    EXPECT_EQ(search.loop().processPending(), 1);
    EXPECT_EQ(search.events(), (Events{"begin", "folder "}));
}

TEST_F(ThreadedFindFileTest, AbortFromTheOwnerThreadStopsTheWorker) {
    startAndHoldInTheFirstFolder();
    search.find().Abort();
    search.waitUntilIdle();
    EXPECT_EQ(search.events(), (Events{"begin", "folder ", "finish aborted=1"}));
}

TEST_F(ThreadedFindFileTest, TheWorkerRunsAtItsPriorityWhereTheSystemAllows) {
    int idleNice = 0;
    search.folderHook = [&](TFindFile&, const std::string&, TFolderIgnore&) {
        idleNice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    };
    search.find().SetThreadPriority(tpIdle);
    search.run();
    EXPECT_EQ(idleNice, 19);

    // Raising the priority needs privileges; without them the search runs all the same.
    search.find().SetThreadPriority(tpTimeCritical);
    search.run();
    EXPECT_EQ(search.events("finish "), (Events{"finish aborted=0", "finish aborted=0"}));
}

} // namespace
} // namespace velmaro
