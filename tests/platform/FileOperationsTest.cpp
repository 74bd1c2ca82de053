#include "platform/FileOperations.h"

#include "FixtureFolder.h"
#include "Unprivileged.h"
#include "platform/AttributeMapping.h"
#include "platform/FileAttributes.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vp = velmaro::platform;
using velmaro::test::entryExists;
using velmaro::test::FixtureFolder;
using velmaro::test::permissionsOf;
using velmaro::test::runUnprivileged;

namespace {

constexpr std::uint32_t ReadOnly = vp::FILE_ATTRIBUTE_READONLY;
constexpr std::uint32_t Hidden = vp::FILE_ATTRIBUTE_HIDDEN;
constexpr std::uint32_t Folder = vp::FILE_ATTRIBUTE_DIRECTORY;
constexpr std::uint32_t Archive = vp::FILE_ATTRIBUTE_ARCHIVE;
constexpr std::uint32_t Device = vp::FILE_ATTRIBUTE_DEVICE;
constexpr std::uint32_t Reparse = vp::FILE_ATTRIBUTE_REPARSE_POINT;

TEST(FileOperationsTest, AttributesDescribeEachKindOfEntry) {
    FixtureFolder fixture;
    const std::string file = fixture.makeFile("plain.tmp");
    const std::string readOnly = fixture.makeFile("locked.tmp");
    chmod(readOnly.c_str(), 0444);
    const std::string hidden = fixture.makeFile(".hidden");
    const std::string folder = fixture.makeFolder("sub");
    const std::string fifo = fixture / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string linkToFile = fixture / "to-file";
    const std::string linkToFolder = fixture / "to-folder";
    ASSERT_EQ(symlink(file.c_str(), linkToFile.c_str()), 0);
    ASSERT_EQ(symlink(folder.c_str(), linkToFolder.c_str()), 0);

    const struct {
        std::string path;
        std::uint32_t attributes;
    } cases[] = {
        {file, Archive},
        {readOnly, Archive | ReadOnly},
        {hidden, Archive | Hidden},
        {folder, Folder},
        {fifo, Archive | Device},
        {linkToFile, Archive | Reparse},
        {linkToFolder, Folder | Reparse},
    };
    for (const auto& c : cases) {
        const vp::FileAttributeValue value = vp::GetFileAttributes(c.path);
        ASSERT_TRUE(value.isValid()) << c.path;
        EXPECT_EQ(value.attributes(), c.attributes) << c.path;
    }
    EXPECT_EQ(vp::AttributesFromMode(S_IFDIR | 0755, "mnt", false, true), Folder | Reparse);
    EXPECT_EQ(vp::AttributesFromMode(S_IFDIR | 0755, "..", false, false), Folder);
}

TEST(FileOperationsTest, ClearingReadOnlyAddsOwnerWriteAndSavedValueRestoresExactMode) {
    FixtureFolder fixture;
    const struct {
        int before;
        int cleared;
    } cases[] = {
        {0444, 0644},   {0400, 0600}, {0000, 0200},
        {0555, 0755},   {0464, 0464}, // a group write bit already makes it writable
        {04551, 04751},
    };
    for (const auto& c : cases) {
        const std::string path = fixture.makeFile("file.tmp");
        ASSERT_EQ(chmod(path.c_str(), static_cast<mode_t>(c.before)), 0);
        const vp::FileAttributeValue saved = vp::GetFileAttributes(path);
        ASSERT_TRUE(saved.isValid());
        EXPECT_TRUE(vp::SetFileAttributes(path, 0x38));
        EXPECT_EQ(permissionsOf(path), c.cleared) << std::oct << c.before;
        EXPECT_FALSE(vp::GetFileAttributes(path).attributes() & ReadOnly);
        EXPECT_TRUE(vp::SetFileAttributes(path, saved));
        EXPECT_EQ(permissionsOf(path), c.before) << std::oct << c.before;
        ASSERT_EQ(unlink(path.c_str()), 0);
    }
}

TEST(FileOperationsTest, SettingReadOnlyRemovesEveryWriteBit) {
    FixtureFolder fixture;
    const std::string path = fixture.makeFile("file.tmp");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    EXPECT_TRUE(vp::SetFileAttributes(path, Archive | ReadOnly));
    EXPECT_EQ(permissionsOf(path), 0444);
}

TEST(FileOperationsTest, SavedValueIsNotAppliedToAnotherFileOfTheSameName) {
    FixtureFolder fixture;
    const std::string path = fixture.makeFile("file.tmp");
    ASSERT_EQ(chmod(path.c_str(), 0666), 0);
    const vp::FileAttributeValue saved = vp::GetFileAttributes(path);
    // Renamed, not removed, so that the new file cannot get the old one's inode number.
    ASSERT_EQ(rename(path.c_str(), (fixture / "old.tmp").c_str()), 0);
    fixture.makeFile("file.tmp");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    EXPECT_FALSE(vp::SetFileAttributes(path, saved));
    EXPECT_EQ(permissionsOf(path), 0600);
    EXPECT_FALSE(vp::SetFileAttributes(path, vp::FileAttributeValue()));
}

TEST(FileOperationsTest, DeleteRemovesFilesAndLinksButNotFolders) {
    FixtureFolder fixture;
    FixtureFolder outside(FixtureFolder::Guard::unregistered);
    const std::string target = outside.makeFile("target.tmp");
    const std::string file = fixture.makeFile("a/b/file.tmp");
    const std::string link = fixture / "link.tmp";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    const std::string folder = fixture.makeFolder("folder.tmp");

    EXPECT_TRUE(vp::DeleteFile(file));
    EXPECT_FALSE(entryExists(file));
    EXPECT_TRUE(vp::DeleteFile(link));
    EXPECT_FALSE(entryExists(link));
    EXPECT_TRUE(entryExists(target));
    EXPECT_FALSE(vp::DeleteFile(folder));
    EXPECT_TRUE(entryExists(folder));
}

TEST(FileOperationsTest, LinkAsLastComponentKeepsItsTargetsMode) {
    FixtureFolder fixture;
    FixtureFolder outside(FixtureFolder::Guard::unregistered);
    const std::string target = outside.makeFile("target.tmp");
    ASSERT_EQ(chmod(target.c_str(), 0644), 0);
    const std::string link = fixture / "link.tmp";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(vp::SetFileAttributes(link, Archive | ReadOnly));
    EXPECT_EQ(permissionsOf(target), 0644);
}

TEST(FileOperationsTest, FolderSwappedForLinkFailsAndTouchesNothingBehindIt) {
    FixtureFolder fixture;
    FixtureFolder outside(FixtureFolder::Guard::unregistered);
    const std::string victim = outside.makeFile("file.tmp");
    ASSERT_EQ(chmod(victim.c_str(), 0444), 0);
    const std::string path = fixture.makeFile("sub/deeper/file.tmp");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const vp::FileAttributeValue saved = vp::GetFileAttributes(path);
    ASSERT_TRUE(saved.isValid());

    ASSERT_EQ(rename((fixture / "sub/deeper").c_str(), (fixture / "moved").c_str()), 0);
    ASSERT_EQ(symlink(outside.path().c_str(), (fixture / "sub/deeper").c_str()), 0);

    EXPECT_FALSE(vp::SetFileAttributes(path, 0x38));
    EXPECT_FALSE(vp::DeleteFile(path));
    EXPECT_FALSE(vp::SetFileAttributes(path, saved));
    const vp::FileAttributeValue after = vp::GetFileAttributes(path);
    EXPECT_FALSE(after.isValid());
    EXPECT_EQ(after.error(), ELOOP);
    EXPECT_FALSE(after.isMissing()) << "a link in the path says nothing about the file";
    EXPECT_TRUE(entryExists(victim));
    EXPECT_EQ(permissionsOf(victim), 0444);
}

TEST(FileOperationsTest, OnlyANameTheSystemDoesNotKnowCountsAsMissing) {
    FixtureFolder fixture;
    const std::string removed = fixture.makeFile("gone.tmp");
    ASSERT_EQ(unlink(removed.c_str()), 0);
    const std::string regular = fixture.makeFile("plain");

    const vp::FileAttributeValue gone = vp::GetFileAttributes(removed);
    EXPECT_TRUE(gone.isMissing());
    EXPECT_EQ(gone.error(), ENOENT);
    EXPECT_FALSE(vp::DeleteFile(removed));
    EXPECT_FALSE(vp::SetFileAttributes(removed, 0x38));

    // A folder of the path replaced by a regular file: nothing can exist below it.
    const vp::FileAttributeValue through = vp::GetFileAttributes(regular + "/file.tmp");
    EXPECT_TRUE(through.isMissing());
    EXPECT_EQ(through.error(), ENOTDIR);

    EXPECT_FALSE(vp::GetFileAttributes("relative/file.tmp").isMissing());
    EXPECT_FALSE(vp::GetFileAttributes(fixture / "x/../plain").isMissing());
    EXPECT_FALSE(vp::GetFileAttributes("/").isMissing());
}

TEST(FileOperationsTest, PermissionFailureCountsAsPresent) {
    FixtureFolder fixture;
    const std::string path = fixture.makeFile("closed/file.tmp");
    ASSERT_EQ(chmod((fixture / "closed").c_str(), 0000), 0);
    EXPECT_TRUE(runUnprivileged([&] {
        const vp::FileAttributeValue value = vp::GetFileAttributes(path);
        return !value.isValid() && value.error() == EACCES && !value.isMissing() &&
               !vp::DeleteFile(path);
    }));
    EXPECT_TRUE(entryExists(path));
}

TEST(FileOperationsTest, GuardRefusesChangesOutsideTheFixtureRoots) {
    FixtureFolder fixture;
    FixtureFolder outside(FixtureFolder::Guard::unregistered);
    const std::string path = outside.makeFile("file.tmp");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const std::string escape = fixture.path() + "/../" +
                               outside.path().substr(outside.path().rfind('/') + 1) + "/file.tmp";

    for (const std::string& p : {path, escape}) {
        EXPECT_FALSE(vp::SetFileAttributes(p, 0x38)) << p;
        EXPECT_FALSE(vp::DeleteFile(p)) << p;
    }
    EXPECT_FALSE(vp::DeleteFile(fixture.path()));
    EXPECT_TRUE(vp::GetFileAttributes(path).isValid()) << "reading stays allowed";
    EXPECT_TRUE(entryExists(path));
    EXPECT_EQ(permissionsOf(path), 0444);
}

} // namespace
