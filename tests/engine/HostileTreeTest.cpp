// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchRecorder.h"
#include "engine/CharTables.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro {
namespace {

using test::TempFolder;
using testing::SearchRecorder;
using testing::WalkMode;
using Events = std::vector<std::string>;

constexpr int deepLevels = 1000;

// One tree with everything a walk over a real drive may meet.
class HostileTreeTest : public ::testing::TestWithParam<WalkMode> {
protected:
    // The tree is made once for the suite: a thousand levels take a while to make and remove.
    static void SetUpTestSuite() {
        BuildCharTables();
        tree = std::make_unique<TempFolder>();
        makeTree();
    }

    static void TearDownTestSuite() { tree.reset(); }

    static void makeTree() {
        tree->link(tree->root(), "loop");
        tree->folder("sub");
        tree->link("..", "sub/back");
        tree->file("sub/x.tmp");
        tree->link("x.tmp", "sub/link.tmp");

        std::string deep = "deep";
        tree->folder(deep);
        for (int i = 1; i < deepLevels; ++i)
            tree->folder(deep += "/d");
        tree->file(deep + "/deepest.tmp");
        deepest = "match " + deep + "/deepest.tmp";

        farthest = makeLongChain();

        ASSERT_EQ(mkfifo(tree->path("x.tmp").c_str(), 0644), 0);
        tree->file("bad\xff\xfe.tmp");
        tree->file("new\nline.tmp");
    }

    // Folders nested until the path is longer than the system takes (4096 bytes), made with
    // descriptors, and a file at the bottom that no walk by path could reach. Returns the
    // file's match event.
    static std::string makeLongChain() {
        const std::string name(200, 'L');
        std::string path;
        int fd = open(tree->root().c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < 25 && fd >= 0; ++i) {
            mkdirat(fd, name.c_str(), 0755);
            const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
            path += name + "/";
        }
        EXPECT_GE(fd, 0);
        const int file = openat(fd, "far.tmp", O_WRONLY | O_CREAT, 0644);
        EXPECT_GE(file, 0);
        close(file);
        close(fd);
        return "match " + path + "far.tmp";
    }

    // Walks the tree for "*.tmp" from the root and a target that does not exist; the folder
    // "vanish/" is removed by the walk's own handler just before the walk reads it.
    std::unique_ptr<SearchRecorder> walk() {
        tree->folder("vanish");
        tree->file("vanish/v.tmp");
        auto search = std::make_unique<SearchRecorder>(tree->root(), GetParam());
        search->criteria().Files().SetLocation(tree->root() + ";" + tree->path("missing"));
        search->criteria().Files().SetFileName("*.tmp");
        const std::string vanishing = tree->path("vanish/");
        search->folderHook = [vanishing](TFindFile&, const std::string& folder, TFolderIgnore&) {
            if (folder == vanishing)
                TempFolder::removeTree(vanishing);
        };
        search->run();
        return search;
    }

    static std::unique_ptr<TempFolder> tree;
    static std::string deepest;
    static std::string farthest;
};

std::unique_ptr<TempFolder> HostileTreeTest::tree;
std::string HostileTreeTest::deepest;
std::string HostileTreeTest::farthest;

TEST_P(HostileTreeTest, ReportsEverythingOnceAtAnyDepthAndNeverFollowsALink) {
    const auto search = walk();
    Events matches = search->events("match ");
    std::sort(matches.begin(), matches.end());
    const Events expected = {
        "match bad\xff\xfe.tmp",
        "match new\nline.tmp",
        "match sub/link.tmp",
        "match sub/x.tmp",
        "match x.tmp",
        deepest,
        farthest,
    };
    Events sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(matches, sortedExpected);

    const Events folders = search->events("folder ");
    const std::set<std::string> unique(folders.begin(), folders.end());
    EXPECT_EQ(unique.size(), folders.size()) << "a folder was walked twice";
    for (const std::string& folder : folders) {
        EXPECT_EQ(folder.find("loop/"), std::string::npos) << folder;
        EXPECT_EQ(folder.find("back/"), std::string::npos) << folder;
    }
    EXPECT_EQ(unique.count("folder missing/"), 1u);
    EXPECT_EQ(unique.count("folder vanish/"), 1u);
    EXPECT_EQ(search->events().back(), "finish aborted=0");
}

TEST_P(HostileTreeTest, DescribesTheOddEntriesAsTheSystemGaveThem) {
    auto search = std::make_unique<SearchRecorder>(tree->root(), GetParam());
    search->criteria().Files().SetLocation("<" + tree->root());
    search->criteria().Files().SetFileName("x.tmp;sub");
    std::vector<TFileDetails> found;
    search->matchHook = [&](TFindFile&, const TFileDetails& info) { found.push_back(info); };
    search->run();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Name, "x.tmp");
    EXPECT_EQ(found[0].Attributes, 0x60u) << "a FIFO is an archive and a device";
    EXPECT_EQ(found[0].Size, 0);
}

TEST_P(HostileTreeTest, AContentSearchNeverHangsOnAFifo) {
    auto search = std::make_unique<SearchRecorder>(tree->root(), GetParam());
    search->criteria().Files().SetLocation("<" + tree->root());
    search->criteria().Files().SetFileName("*.tmp");
    search->criteria().Content().SetPhrase("needle");
    search->criteria().Content().SetOptions({csoNegate});
    search->run();
    Events matches = search->events("match ");
    std::sort(matches.begin(), matches.end());
    EXPECT_EQ(matches, (Events{"match bad\xff\xfe.tmp", "match new\nline.tmp"}));
}

// Root reads every folder, so the walk runs without its rights.
TEST_P(HostileTreeTest, TreatsAnUnreadableFolderAsEmpty) {
    struct RemoveLocked {
        ~RemoveLocked() { TempFolder::removeTree(tree->path("locked")); }
    } removeLocked;
    tree->folder("locked");
    tree->file("locked/inside.tmp");
    ASSERT_EQ(chmod(tree->path("locked").c_str(), 0), 0);
    ASSERT_EQ(chmod(tree->root().c_str(), 0755), 0);
    const WalkMode mode = GetParam();
    EXPECT_TRUE(test::runUnprivileged([mode] {
        SearchRecorder search(tree->root(), mode);
        search.criteria().Files().SetLocation("2>" + tree->root());
        search.criteria().Files().SetFileName("inside.tmp;x.tmp");
        search.run();
        Events matches = search.events("match ");
        std::sort(matches.begin(), matches.end());
        const Events folders = search.events("folder ");
        const bool entered = std::count(folders.begin(), folders.end(), "folder locked/") == 1;
        return matches == Events{"match sub/x.tmp", "match x.tmp"} && entered;
    })) << "the locked folder was read or the walk went wrong";
}

INSTANTIATE_TEST_SUITE_P(WalkModes, HostileTreeTest, ::testing::ValuesIn(testing::WalkModes),
                         [](const auto& info) { return testing::walkModeName(info.param); });

} // namespace
} // namespace velmaro
