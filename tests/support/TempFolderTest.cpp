// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempFolder.h"

#include "DeepFolders.h"
#include "Unprivileged.h"
#include "platform/FixtureRoots.h"
#include "platform/posix/UniqueFd.h"

#include <climits>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sched.h>
#include <sstream>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using velmaro::platform::UniqueFd;
using velmaro::test::DeepFolders;
using velmaro::test::entryExists;
using velmaro::test::permissionsOf;
using velmaro::test::TempFolder;

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// Sets the entry's inode flags; false where the file system or the process's rights do not
// allow them.
bool setFlags(const std::string& path, int flags) {
    const UniqueFd entry(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    int current = 0;
    if (!entry || ioctl(entry.get(), FS_IOC_GETFLAGS, &current) != 0)
        return false;
    current |= flags;
    return ioctl(entry.get(), FS_IOC_SETFLAGS, &current) == 0;
}

// The folders a test leaves locked in every way a permission can lock them, and a link out.
void lockUp(const TempFolder& folder, const std::string& outside) {
    folder.file("closed/inside.tmp", "x", 0000);
    folder.folder("closed/sub", 0000);
    folder.folder("closed", 0000);
    folder.file("readonly/file.tmp", "x", 0444);
    folder.folder("readonly", 0555);
    folder.folder("listless/sub");
    folder.folder("listless", 0300);
    folder.link(outside, "out");
}

// Sets the process's umask for the life of the object.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : m_saved(umask(mask)) {}
    ~ScopedUmask() { umask(m_saved); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t m_saved;
};

TEST(TempFolderTest, MakesEntriesWithTheBytesModeAndTimesAsked) {
    const ScopedUmask strict(077);
    const TempFolder folder;
    EXPECT_EQ(folder.root().back(), '/');
    EXPECT_EQ(folder.path(), folder.root().substr(0, folder.root().size() - 1));
    EXPECT_EQ(folder.path("a/b"), folder.root() + "a/b");

    const std::string bytes("odd\xFF\0name", 9);
    const std::string file = folder.file("a/b/\xFF\xFE.tmp", bytes, 0640);
    EXPECT_EQ(file, folder.root() + "a/b/\xFF\xFE.tmp");
    EXPECT_EQ(contentOf(file), bytes);
    EXPECT_EQ(permissionsOf(file), 0640);
    EXPECT_EQ(permissionsOf(folder.path("a/b")), 0755) << "missing folders are made 0755";
    folder.file("a/b/\xFF\xFE.tmp", "new");
    EXPECT_EQ(contentOf(file), "new") << "an existing file is rewritten";
    EXPECT_EQ(permissionsOf(file), 0644);

    EXPECT_EQ(folder.folder("c/d/", 0700), folder.root() + "c/d");
    EXPECT_EQ(permissionsOf(folder.path("c/d")), 0700);
    EXPECT_EQ(permissionsOf(folder.path("c")), 0755);
    folder.folder("c/d", 0750);
    EXPECT_EQ(permissionsOf(folder.path("c/d")), 0750);

    const std::string link = folder.link("../a", "c/up");
    char target[16] = {};
    ASSERT_EQ(readlink(link.c_str(), target, sizeof target - 1), 4);
    EXPECT_STREQ(target, "../a");

    folder.setTimes("c/up", {1000000000, 0}, {1000000001, 500});
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000001);
    EXPECT_EQ(st.st_mtim.tv_nsec, 500);
    ASSERT_EQ(stat(link.c_str(), &st), 0);
    EXPECT_NE(st.st_mtim.tv_sec, 1000000001) << "the link's target keeps its times";

    ASSERT_EQ(lstat(folder.fifo("e/fifo", 0620).c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0620u);
    ASSERT_EQ(lstat(folder.socket("e/socket").c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
}

TEST(TempFolderTest, RefusalsThrowNamingTheEntry) {
    const TempFolder folder;
    folder.file("plain");
    const auto message = [](const auto& make) -> std::string {
        try {
            make();
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "nothing thrown";
    };
    const std::string below = folder.root() + "plain/below";
    EXPECT_NE(message([&] { folder.file("plain/below"); }).find(below), std::string::npos);
    EXPECT_NE(message([&] { folder.folder("plain/below"); }).find(below), std::string::npos);
    EXPECT_NE(message([&] { folder.link("x", "plain"); }).find("File exists"), std::string::npos);
    EXPECT_NE(message([&] { folder.setTimes("missing", {}, {}); }).find("missing"),
              std::string::npos);
    EXPECT_NE(message([&] { folder.socket(std::string(200, 's')); }).find("too long"),
              std::string::npos);
}

TEST(TempFolderTest, RegistersAFixtureRootOnlyWhenAsked) {
    std::string registered;
    {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const TempFolder outside;
        registered = fixture.path();
        EXPECT_TRUE(velmaro::platform::FixtureGuardAllows(fixture.path("a.tmp")));
        EXPECT_FALSE(velmaro::platform::FixtureGuardAllows(outside.path("a.tmp")));
    }
    EXPECT_FALSE(velmaro::platform::FixtureGuardAllows(registered + "/a.tmp"))
        << "unregistered when it goes";
}

TEST(TempFolderTest, RemovesWhatATestLockedAndNothingOutside) {
    const TempFolder outside;
    const std::string kept = outside.file("kept.tmp", "x");
    std::string root;
    {
        const TempFolder folder;
        root = folder.path();
        lockUp(folder, outside.path());
    }
    EXPECT_FALSE(entryExists(root));
    EXPECT_TRUE(entryExists(kept)) << "the link out was not followed";

    // Without the rights of root the locked folders must be opened up first.
    EXPECT_TRUE(velmaro::test::runUnprivileged([&outside] {
        try {
            std::string unprivilegedRoot;
            {
                const TempFolder folder;
                unprivilegedRoot = folder.path();
                lockUp(folder, outside.path());
            }
            return !entryExists(unprivilegedRoot);
        } catch (const std::exception&) {
            return false;
        }
    }));
}

TEST(TempFolderTest, RemovesImmutableAndAppendOnlyEntries) {
    std::string root;
    {
        const TempFolder folder;
        root = folder.path();
        folder.file("protected/file.tmp", "x");
        folder.file("protected/appended.tmp", "x");
        folder.file("protected/sub/file.tmp", "x");
        if (!setFlags(folder.path("protected/file.tmp"), FS_IMMUTABLE_FL) ||
            !setFlags(folder.path("protected/appended.tmp"), FS_APPEND_FL) ||
            !setFlags(folder.path("protected/sub"), FS_IMMUTABLE_FL) ||
            !setFlags(folder.path("protected"), FS_APPEND_FL))
            GTEST_SKIP() << "cannot set the immutable or append-only flag here (needs "
                            "CAP_LINUX_IMMUTABLE and a file system that keeps the flags)";
        EXPECT_NE(unlink(folder.path("protected/file.tmp").c_str()), 0) << "the flags hold";
    }
    EXPECT_FALSE(entryExists(root));
}

// More levels than the descriptors the removal may hold, each name long enough that the
// chain is longer than a path can be.
TEST(TempFolderTest, RemovesTreesDeeperThanAPathWithFewDescriptors) {
    constexpr int depth = 100;
    constexpr rlim_t descriptors = 64;
    const std::string name(50, 'd');
    std::string root;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    {
        const TempFolder folder;
        root = folder.path();
        {
            const DeepFolders deep(folder.folder("deep"), depth, name);
            ASSERT_GT(deep.bottom().size(), PATH_MAX);
            deep.makeFile("bottom.tmp");
            // Moved out of its reach, this chain is left to the folder.
            const DeepFolders moved(folder.folder("kept"), depth, name);
            moved.makeFile("bottom.tmp");
            ASSERT_EQ(rename(folder.path("kept").c_str(), folder.path("moved").c_str()), 0);
            rlimit few = saved;
            few.rlim_cur = descriptors;
            ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
        }
        EXPECT_FALSE(entryExists(folder.path("deep/" + name)));
        EXPECT_TRUE(entryExists(folder.path("moved/" + name)));
    }
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_FALSE(entryExists(root));
}

// In a child with a mount namespace of its own: a file system mounted in the tree, and a
// folder of the same file system bound into it, keep what they hold.
TEST(TempFolderTest, NeverRemovesAcrossAMount) {
    const TempFolder outside;
    const std::string kept = outside.file("kept.tmp", "x");
    const TempFolder folder;
    folder.file("tree/plain.tmp", "x");
    folder.folder("tree/tmpfs");
    folder.folder("tree/bound");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
            mount("tmpfs", folder.path("tree/tmpfs").c_str(), "tmpfs", 0, nullptr) != 0 ||
            mount(outside.path().c_str(), folder.path("tree/bound").c_str(), nullptr, MS_BIND,
                  nullptr) != 0)
            _exit(2);
        try {
            folder.file("tree/tmpfs/inside.tmp", "x");
            const bool removed = TempFolder::removeTree(folder.path("tree"));
            _exit(!removed && entryExists(folder.path("tree/tmpfs/inside.tmp")) &&
                          entryExists(folder.path("tree/bound/kept.tmp")) &&
                          !entryExists(folder.path("tree/plain.tmp"))
                      ? 0
                      : 1);
        } catch (const std::exception&) {
            _exit(1);
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no private mount namespace here (needs root and unshare)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the removal crossed a mount";
    EXPECT_TRUE(entryExists(kept));
}

TEST(TempFolderTest, ClearEmptiesAndRemoveTreeTakesOneEntry) {
    const TempFolder folder;
    lockUp(folder, "/");
    folder.file("a/b.tmp");
    EXPECT_TRUE(TempFolder::removeTree(folder.root() + "a/"));
    EXPECT_FALSE(entryExists(folder.path("a")));
    EXPECT_TRUE(entryExists(folder.path("closed")));
    EXPECT_TRUE(TempFolder::removeTree(folder.path("missing")));
    folder.clear();
    EXPECT_TRUE(entryExists(folder.path()));
    EXPECT_FALSE(entryExists(folder.path("closed")));
    EXPECT_FALSE(entryExists(folder.path("out")));
}

} // namespace
