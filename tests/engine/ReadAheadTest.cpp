// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchRecorder.h"
#include "engine/CharTables.h"
#include "support/TempFolder.h"

#include <chrono>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace velmaro {
namespace {

using test::TempFolder;
using testing::SearchRecorder;
using testing::WalkMode;
using Events = std::vector<std::string>;

// Every field of a match, so that two walks compare byte for byte.
std::string describeMatch(const TFileDetails& info) {
    std::ostringstream text;
    text.precision(17);
    text << "match " << info.Location << info.Name << ' ' << info.Attributes << ' ' << info.Size
         << ' ' << info.CreatedTime << ' ' << info.ModifiedTime << ' ' << info.AccessedTime << ' '
         << info.Identity.device << ' ' << info.Identity.inode;
    return text.str();
}

// One generated search: a tree, its masks and location, and what the handlers do.
struct Scenario {
    std::string masks;
    std::string marker;     // the location's level marker
    bool everyAttribute;    // criteria cleared: folders and hidden entries are reported too
    unsigned answerSeed;    // picks the folder answers
    std::size_t abortAfter; // abort in the handler of this event; 0: never
};

// A random tree of folders, files and links in Tree, below it at most Depth levels deep.
void growTree(const TempFolder& tree, std::mt19937& random, const std::string& folder, int depth) {
    static const char* const fileNames[] = {"a.tmp",  "~b.doc", "c.bak", "README",   "d.txt",
                                            ".e.tmp", "F.TMP",  "g.log", "h.tmp.old"};
    static const char* const folderNames[] = {"sub", "x.tmp", ".hidden", "Logs", "deep", "~old"};
    for (const char* name : fileNames)
        if (random() % 3 == 0)
            tree.file(folder + name, std::string(random() % 50, 'x'));
    if (random() % 4 == 0)
        tree.link("..", folder + "up");
    if (random() % 5 == 0)
        tree.link("a.tmp", folder + "link.tmp");
    if (depth == 0)
        return;
    const int subfolders = static_cast<int>(random() % 4);
    for (int i = 0; i < subfolders; ++i) {
        const std::string name =
            folderNames[random() % std::size(folderNames)] + std::to_string(i) + "/";
        tree.folder(folder + name);
        growTree(tree, random, folder + name, depth - 1);
    }
}

// Gives every entry of the tree the same access time. A walk moves the access times of the
// links it looks through (and of the folders it reads), so each walk that is compared starts
// from the same state. Each folder is set after it was read for its entries.
void resetAccessTimes(const std::string& root) {
    nftw(
        root.c_str(),
        [](const char* path, const struct stat*, int, FTW*) {
            const timespec times[2] = {{1000000000, 0}, {0, UTIME_OMIT}};
            utimensat(AT_FDCWD, path, times, AT_SYMLINK_NOFOLLOW);
            return 0;
        },
        16, FTW_PHYS | FTW_DEPTH);
}

// The events of one walk of Root in Mode, the matches with every field.
Events walk(const std::string& root, const Scenario& scenario, WalkMode mode) {
    resetAccessTimes(root);
    SearchRecorder search(root, mode);
    if (scenario.everyAttribute)
        search.criteria().Attributes().Clear();
    search.criteria().Files().SetLocation(scenario.marker + root);
    search.criteria().Files().SetFileName(scenario.masks);
    Events events;
    const auto counted = [&](TFindFile& sender, std::string event) {
        events.push_back(std::move(event));
        if (events.size() == scenario.abortAfter)
            sender.Abort();
    };
    search.folderHook = [&](TFindFile& sender, const std::string& folder, TFolderIgnore& ignore) {
        const std::size_t hash = std::hash<std::string>()(folder) ^ scenario.answerSeed;
        ignore = static_cast<TFolderIgnore>(hash % 8 < 5 ? 0 : hash % 8 - 4);
        counted(sender, "folder " + folder + " " + std::to_string(ignore));
    };
    search.matchHook = [&](TFindFile& sender, const TFileDetails& info) {
        counted(sender, describeMatch(info));
    };
    search.run();
    events.push_back(search.find().Aborted() ? "aborted" : "finished");
    return events;
}

TEST(ReadAheadTest, GivesTheEventsOfThePlainWalkOnRandomTrees) {
    BuildCharTables();
    const std::string maskChoices[] = {"*.tmp", "*.tmp;~*.*;*.bak", "*.*", "*.;x*", "*.TMP;*.tmp"};
    const std::string markerChoices[] = {"", "3>", "2-0>", "2-3>"};
    const WalkMode readAheadModes[] = {{false, 1}, {true, 2}, {false, 4}, {true, 3}};
    for (unsigned seed = 1; seed <= 24; ++seed) {
        std::mt19937 random(seed);
        TempFolder tree;
        growTree(tree, random, "", 5);
        const Scenario scenario{maskChoices[random() % std::size(maskChoices)],
                                markerChoices[random() % std::size(markerChoices)],
                                random() % 2 == 0, static_cast<unsigned>(random()),
                                random() % 3 == 0 ? 1 + random() % 40 : 0};
        const Events expected = walk(tree.root(), scenario, {false, 0});
        for (const WalkMode& mode : readAheadModes)
            EXPECT_EQ(walk(tree.root(), scenario, mode), expected)
                << "seed " << seed << ", " << testing::walkModeName(mode);
    }
}

// Whether a reader has read the folder at Path: reading a folder moves its access time, which
// the test set far into the past.
bool wasRead(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && st.st_atim.tv_sec > st.st_mtim.tv_sec;
}

struct ChangeCase {
    const char* name;
    // Changes the folder Path (ending in "/") of the tree.
    std::function<void(const std::string& path)> change;
};

// A folder that changes after a reader has read it ahead is read again when the walk enters
// it, so that the walk sees it as the plain walk does.
TEST(ReadAheadTest, ReadsAFolderAgainThatChangedSinceItWasReadAhead) {
    BuildCharTables();
    const ChangeCase cases[] = {
        {"a file added",
         [](const std::string& path) {
             close(open((path + "new.tmp").c_str(), O_CREAT | O_WRONLY, 0644));
         }},
        {"the folder removed", [](const std::string& path) { TempFolder::removeTree(path); }},
        {"the folder replaced",
         [](const std::string& path) {
             const std::string folder = path.substr(0, path.size() - 1);
             ASSERT_EQ(rename(folder.c_str(), (folder + "-old").c_str()), 0);
             ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
             close(open((path + "other.tmp").c_str(), O_CREAT | O_WRONLY, 0644));
         }},
    };
    for (const ChangeCase& c : cases) {
        Events runs[2];
        for (const std::size_t readers : {0, 2}) {
            TempFolder tree;
            for (const char* folder : {"a", "b"}) {
                tree.folder(folder);
                tree.file(std::string(folder) + "/f.tmp");
                const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
                ASSERT_EQ(utimensat(AT_FDCWD, tree.path(folder).c_str(), past, 0), 0);
            }
            SearchRecorder search(tree.root(), WalkMode{false, readers});
            search.criteria().Files().SetLocation(tree.root());
            search.criteria().Files().SetFileName("*.tmp");
            // The first of the two folders the walk enters changes the other once a reader
            // has read it (or at once without readers; or when no reader gets there in time).
            std::string other;
            search.folderHook = [&](TFindFile&, const std::string& folder, TFolderIgnore&) {
                if (!other.empty() || folder == tree.root())
                    return;
                other = tree.path(folder == tree.path("a/") ? "b/" : "a/");
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (readers > 0 && !wasRead(other) && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::yield();
                c.change(other);
            };
            search.run();
            runs[readers == 0 ? 0 : 1] = search.events();
        }
        EXPECT_EQ(runs[1], runs[0]) << c.name;
    }
}

// A folder whose listing is larger than a reader takes on is given up by the readers and read
// by the walk itself, with the same events. There are two such folders in two branches; the
// walk waits in the first it enters until a reader has been at the other.
TEST(ReadAheadTest, ReadsAFolderTooLargeToReadAheadItself) {
    BuildCharTables();
    TempFolder tree;
    const std::string longName(240, 'n');
    constexpr int files = 4000; // each name over 240 bytes: about a megabyte of names
    for (const char* branch : {"p", "q"}) {
        tree.folder(branch);
        tree.folder(std::string(branch) + "/big");
        for (int i = 0; i < files; ++i)
            tree.file(std::string(branch) + "/big/" + longName + std::to_string(i) +
                      (i % 100 == 0 ? ".tmp" : ".txt"));
    }
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    Events runs[2];
    for (const std::size_t readers : {0, 2}) {
        for (const char* big : {"p/big", "q/big"})
            ASSERT_EQ(utimensat(AT_FDCWD, tree.path(big).c_str(), past, 0), 0);
        SearchRecorder search(tree.root(), WalkMode{true, readers});
        search.criteria().Files().SetLocation(tree.root());
        search.criteria().Files().SetFileName("*.tmp");
        std::string other;
        search.folderHook = [&](TFindFile&, const std::string& folder, TFolderIgnore&) {
            if (readers == 0 || !other.empty() || !folder.ends_with("/big/"))
                return;
            other = tree.path(folder == tree.path("p/big/") ? "q/big" : "p/big");
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!wasRead(other) && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
        };
        search.run();
        runs[readers == 0 ? 0 : 1] = search.events();
    }
    EXPECT_EQ(runs[0].size(), 2u + 5u + 2 * files / 100);
    EXPECT_EQ(runs[1], runs[0]);
}

} // namespace
} // namespace velmaro
