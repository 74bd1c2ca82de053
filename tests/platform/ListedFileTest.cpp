// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ListedFile.h"

#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/FileAttributes.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vp = velmaro::platform;
using velmaro::test::entryExists;
using velmaro::test::permissionsOf;
using velmaro::test::runUnprivileged;
using velmaro::test::TempFolder;
using Found = vp::ListedFile::Found;

namespace {

constexpr std::uint32_t ReadOnly = vp::FILE_ATTRIBUTE_READONLY;
constexpr std::uint32_t Archive = vp::FILE_ATTRIBUTE_ARCHIVE;

// The file at path as a search would have listed it just now.
vp::ListedFile listedNow(const std::string& path) {
    return vp::ListedFile(path, vp::GetFileAttributes(path).identity());
}

TEST(ListedFileTest, ClearingReadOnlyAddsOwnerWriteAndSavedValueRestoresExactMode) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const struct {
        int before;
        int cleared;
    } cases[] = {
        {0444, 0644},   {0400, 0600}, {0000, 0200},
        {0555, 0755},   {0464, 0464}, // a group write bit already makes it writable
        {04551, 04751},
    };
    for (const auto& c : cases) {
        const std::string path = fixture.file("file.tmp", "x");
        ASSERT_EQ(chmod(path.c_str(), static_cast<mode_t>(c.before)), 0);
        vp::ListedFile file = listedNow(path);
        ASSERT_EQ(file.found(), Found::listed);
        const vp::FileAttributeValue saved = file.GetFileAttributes();
        ASSERT_TRUE(saved.isValid());
        EXPECT_TRUE(file.SetFileAttributes(0x38));
        EXPECT_EQ(permissionsOf(path), c.cleared) << std::oct << c.before;
        EXPECT_FALSE(vp::GetFileAttributes(path).attributes() & ReadOnly);
        EXPECT_TRUE(file.SetFileAttributes(saved));
        EXPECT_EQ(permissionsOf(path), c.before) << std::oct << c.before;
        ASSERT_EQ(unlink(path.c_str()), 0);
    }
}

TEST(ListedFileTest, SettingReadOnlyRemovesEveryWriteBit) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string path = fixture.file("file.tmp", "x");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    vp::ListedFile file = listedNow(path);
    EXPECT_TRUE(file.SetFileAttributes(Archive | ReadOnly));
    EXPECT_EQ(permissionsOf(path), 0444);
}

TEST(ListedFileTest, ValueReadFromAnotherFileIsNotApplied) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string path = fixture.file("file.tmp", "x");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    const vp::FileAttributeValue saved = vp::GetFileAttributes(path);
    // Renamed, not removed, so that the new file cannot get the old one's inode number.
    ASSERT_EQ(rename(path.c_str(), fixture.path("old.tmp").c_str()), 0);
    fixture.file("file.tmp", "x");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    vp::ListedFile file = listedNow(path);
    EXPECT_FALSE(file.SetFileAttributes(saved));
    EXPECT_EQ(permissionsOf(path), 0600);
    EXPECT_FALSE(file.SetFileAttributes(vp::FileAttributeValue()));
}

TEST(ListedFileTest, DeleteRemovesFilesAndLinksButNotFolders) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const TempFolder outside;
    const std::string target = outside.file("target.tmp", "x");
    const std::string file = fixture.file("a/b/file.tmp", "x");
    const std::string link = fixture.path("link.tmp");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    const std::string folder = fixture.folder("folder.tmp");

    for (const std::string& path : {file, link}) {
        vp::ListedFile listed = listedNow(path);
        EXPECT_TRUE(listed.DeleteFile()) << path;
        EXPECT_FALSE(entryExists(path)) << path;
        EXPECT_FALSE(listed.stillPresent()) << path;
    }
    EXPECT_TRUE(entryExists(target));
    vp::ListedFile listedFolder = listedNow(folder);
    EXPECT_FALSE(listedFolder.DeleteFile());
    EXPECT_TRUE(listedFolder.stillPresent());
    EXPECT_TRUE(entryExists(folder));
    // Nothing of the private name used on the way stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fixture.path("a/b")), {}), 0);
}

TEST(ListedFileTest, LinkAsLastComponentKeepsItsTargetsMode) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const TempFolder outside;
    const std::string target = outside.file("target.tmp", "x");
    ASSERT_EQ(chmod(target.c_str(), 0644), 0);
    const std::string link = fixture.path("link.tmp");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    vp::ListedFile file = listedNow(link);
    EXPECT_FALSE(file.SetFileAttributes(Archive | ReadOnly));
    EXPECT_EQ(permissionsOf(target), 0644);
}

TEST(ListedFileTest, FolderSwappedForLinkFailsAndTouchesNothingBehindIt) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const TempFolder outside;
    const std::string victim = outside.file("file.tmp", "x");
    ASSERT_EQ(chmod(victim.c_str(), 0444), 0);
    const std::string path = fixture.file("sub/deeper/file.tmp", "x");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const vp::FileIdentity identity = vp::GetFileAttributes(path).identity();

    ASSERT_EQ(rename(fixture.path("sub/deeper").c_str(), fixture.path("moved").c_str()), 0);
    ASSERT_EQ(symlink(outside.path().c_str(), fixture.path("sub/deeper").c_str()), 0);

    vp::ListedFile file(path, identity);
    EXPECT_EQ(file.found(), Found::unreachable);
    EXPECT_EQ(file.GetFileAttributes().error(), ELOOP);
    EXPECT_FALSE(file.SetFileAttributes(0x38));
    EXPECT_FALSE(file.DeleteFile());
    EXPECT_TRUE(file.stillPresent()) << "a link in the path says nothing about the file";
    EXPECT_TRUE(entryExists(victim));
    EXPECT_EQ(permissionsOf(victim), 0444);
}

TEST(ListedFileTest, PermissionFailureCountsAsPresent) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string path = fixture.file("closed/file.tmp", "x");
    const vp::FileIdentity identity = vp::GetFileAttributes(path).identity();
    ASSERT_EQ(chmod(fixture.path("closed").c_str(), 0000), 0);
    EXPECT_TRUE(runUnprivileged([&] {
        vp::ListedFile file(path, identity);
        return file.found() == Found::unreachable && file.GetFileAttributes().error() == EACCES &&
               !file.DeleteFile() && file.stillPresent();
    }));
    EXPECT_TRUE(entryExists(path));
}

TEST(ListedFileTest, GuardRefusesChangesOutsideTheFixtureRoots) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const TempFolder outside;
    const std::string path = outside.file("file.tmp", "x");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const std::string escape = fixture.path() + "/../" +
                               outside.path().substr(outside.path().rfind('/') + 1) + "/file.tmp";

    for (const std::string& p : {path, escape}) {
        vp::ListedFile file = listedNow(p);
        EXPECT_FALSE(file.SetFileAttributes(0x38)) << p;
        EXPECT_FALSE(file.DeleteFile()) << p;
        EXPECT_TRUE(file.stillPresent()) << p;
    }
    EXPECT_FALSE(listedNow(fixture.path()).DeleteFile());
    EXPECT_TRUE(listedNow(path).GetFileAttributes().isValid()) << "reading stays allowed";
    EXPECT_TRUE(entryExists(path));
    EXPECT_EQ(permissionsOf(path), 0444);
}

// While the file is leased, another process's open waits for the deletion instead of finding
// the file gone under it, and the lease's break signal does not end this process.
TEST(ListedFileTest, OpenElsewhereWaitsForTheDeletion) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string path = fixture.file("lock.tmp", "x");
    sigset_t leaseBreak;
    sigemptyset(&leaseBreak);
    sigaddset(&leaseBreak, SIGURG);
    sigset_t before;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &leaseBreak, &before), 0);

    vp::ListedFile file = listedNow(path);
    ASSERT_EQ(file.found(), Found::listed);
    const pid_t opener = fork();
    if (opener == 0)
        _exit(open(path.c_str(), O_RDONLY) >= 0 ? 0 : 1);
    ASSERT_GT(opener, 0);
    // Either the open breaks the lease (the signal comes) or, without a lease, it just ends.
    int signal = -1;
    int status = 0;
    pid_t ended = 0;
    const timespec step{0, 10'000'000};
    for (int i = 0; i < 1000 && signal != SIGURG && ended == 0; ++i) {
        signal = sigtimedwait(&leaseBreak, nullptr, &step);
        ended = waitpid(opener, &status, WNOHANG);
    }
    const bool waitedForTheLease = signal == SIGURG && ended == 0;
    EXPECT_TRUE(file.DeleteFile());
    if (ended == 0) {
        ASSERT_EQ(waitpid(opener, &status, 0), opener);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);

    if (signal != SIGURG)
        GTEST_SKIP() << "no lease here (file system or kernel without leases)";
    EXPECT_TRUE(waitedForTheLease) << "the other open should wait while the lease is held";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(entryExists(path));
}

} // namespace
