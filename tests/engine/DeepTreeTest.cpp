// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchRecorder.h"
#include "engine/CharTables.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro {
namespace {

using test::TempFolder;
using testing::SearchRecorder;
using testing::WalkMode;
using Events = std::vector<std::string>;

// Far deeper than the longest path the system takes and than the descriptors a process may
// usually hold (1024).
constexpr int chainDepth = 5000;
// Every this many levels the chain gets junk and a side folder with junk of its own.
constexpr int junkEvery = 500;
// Enough descriptors for the reference walk, which holds one descriptor per level.
constexpr rlim_t descriptorsToBuild = chainDepth + 256;
// What the walk gets: a small fraction of the chain's depth.
constexpr rlim_t descriptorsToWalk = 256;

int makeFolder(int parent, const std::string& name) {
    mkdirat(parent, name.c_str(), 0755);
    return openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void makeFile(int parent, const std::string& name) {
    const int fd = openat(parent, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    EXPECT_GE(fd, 0) << name;
    close(fd);
}

// The files named "*.tmp" below the open folder fd, found by the plainest walk there is: one
// descriptor per level, readdir, recursion. Paths relative to the walk's start.
void referenceWalk(int fd, const std::string& prefix, Events& found) {
    DIR* dir = fdopendir(fd);
    ASSERT_NE(dir, nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_DIR) {
            const int child =
                openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ASSERT_GE(child, 0) << prefix << name;
            referenceWalk(child, prefix + name + "/", found);
        } else if (name.ends_with(".tmp")) {
            found.push_back("match " + prefix + name);
        }
    }
    closedir(dir);
}

// Sets the soft limit of open descriptors for the life of the object.
class DescriptorLimit {
public:
    explicit DescriptorLimit(rlim_t soft) {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        rlimit changed = m_saved;
        changed.rlim_cur = soft;
        m_applied = soft <= m_saved.rlim_max && setrlimit(RLIMIT_NOFILE, &changed) == 0;
    }
    ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &m_saved); }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;

    bool applied() const { return m_applied; }

private:
    rlimit m_saved{};
    bool m_applied = false;
};

class DeepTreeTest : public ::testing::TestWithParam<WalkMode> {
protected:
    static void SetUpTestSuite() {
        BuildCharTables();
        building = std::make_unique<DescriptorLimit>(descriptorsToBuild);
        if (!building->applied())
            return;
        tree = std::make_unique<TempFolder>();
        makeChain();
        reference.clear();
        referenceWalk(open(tree->root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), "",
                      reference);
        std::sort(reference.begin(), reference.end());
    }

    static void TearDownTestSuite() {
        tree.reset();
        building.reset();
    }

    void SetUp() override {
        if (!building->applied())
            GTEST_SKIP() << "cannot raise the descriptor limit to " << descriptorsToBuild
                         << " to make the tree";
    }

    // The chain "d/d/.../d", chainDepth folders deep, with "k.tmp" and a side folder
    // "s<level>" holding "j.tmp" every junkEvery levels. The side folders' names differ, so
    // that some come before the chain in directory order and some after it.
    static void makeChain() {
        int fd = open(tree->root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int level = 1; level <= chainDepth && fd >= 0; ++level) {
            if (level % junkEvery == 0) {
                makeFile(fd, "k.tmp");
                makeFile(fd, "k.txt");
                const int side = makeFolder(fd, "s" + std::to_string(level));
                makeFile(side, "j.tmp");
                close(side);
            }
            const int next = makeFolder(fd, "d");
            close(fd);
            fd = next;
        }
        ASSERT_GE(fd, 0);
        makeFile(fd, "bottom.tmp");
        close(fd);
    }

    static std::unique_ptr<DescriptorLimit> building;
    static std::unique_ptr<TempFolder> tree;
    static Events reference;
};

std::unique_ptr<DescriptorLimit> DeepTreeTest::building;
std::unique_ptr<TempFolder> DeepTreeTest::tree;
Events DeepTreeTest::reference;

TEST_P(DeepTreeTest, FindsEveryJunkFileAtAnyDepthWithFewDescriptors) {
    ASSERT_EQ(reference.size(), 2u * (chainDepth / junkEvery) + 1);
    SearchRecorder search(tree->root(), GetParam());
    search.criteria().Files().SetLocation(tree->root());
    search.criteria().Files().SetFileName("*.tmp");
    {
        const DescriptorLimit walking(descriptorsToWalk);
        ASSERT_TRUE(walking.applied());
        search.run();
    }
    Events matches = search.events("match ");
    std::sort(matches.begin(), matches.end());
    EXPECT_EQ(matches, reference);
    EXPECT_EQ(search.events("folder ").size(), chainDepth + chainDepth / junkEvery + 1u);
    EXPECT_EQ(search.events().back(), "finish aborted=0");
}

INSTANTIATE_TEST_SUITE_P(WalkModes, DeepTreeTest, ::testing::ValuesIn(testing::WalkModes),
                         [](const auto& info) { return testing::walkModeName(info.param); });

// A walk deep enough that it closes the folders far above it, whose subtree is moved away
// while it is down there: back up, it must reopen the folders above by their names, not
// through where the moved subtree now sits.
class MovedSubtreeTest : public ::testing::TestWithParam<WalkMode> {
protected:
    static constexpr int chainLength = 80;
    static constexpr int sideFolders = 24;

    static void SetUpTestSuite() { BuildCharTables(); }

    void SetUp() override {
        tree.folder("p");
        for (int i = 0; i < sideFolders; ++i) {
            tree.folder("p/side" + std::to_string(i));
            tree.file("p/side" + std::to_string(i) + "/s.tmp");
        }
        std::string chain = "p/chain";
        tree.folder(chain);
        for (int i = 1; i < chainLength; ++i)
            tree.folder(chain += "/c");
        bottom = tree.path(chain + "/");
    }

    TempFolder tree;
    std::string bottom;
};

TEST_P(MovedSubtreeTest, WalksTheRestOfTheFolderTheSubtreeLeft) {
    SearchRecorder search(tree.root(), GetParam());
    search.criteria().Files().SetLocation(tree.root());
    search.criteria().Files().SetFileName("*.tmp");
    const std::string from = tree.path("p/chain");
    const std::string to = tree.path("moved");
    search.folderHook = [&](TFindFile&, const std::string& folder, TFolderIgnore&) {
        if (folder == bottom) {
            ASSERT_EQ(std::rename(from.c_str(), to.c_str()), 0);
        }
    };
    search.run();

    Events expected;
    for (int i = 0; i < sideFolders; ++i)
        expected.push_back("match p/side" + std::to_string(i) + "/s.tmp");
    std::sort(expected.begin(), expected.end());
    Events matches = search.events("match ");
    std::sort(matches.begin(), matches.end());
    EXPECT_EQ(matches, expected);
}

INSTANTIATE_TEST_SUITE_P(WalkModes, MovedSubtreeTest, ::testing::ValuesIn(testing::WalkModes),
                         [](const auto& info) { return testing::walkModeName(info.param); });

} // namespace
} // namespace velmaro
