// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileOperations.h"

#include "TempFolder.h"
#include "platform/AttributeMapping.h"
#include "platform/FileAttributes.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vp = velmaro::platform;
using velmaro::test::TempFolder;

namespace {

constexpr std::uint32_t ReadOnly = vp::FILE_ATTRIBUTE_READONLY;
constexpr std::uint32_t Hidden = vp::FILE_ATTRIBUTE_HIDDEN;
constexpr std::uint32_t Folder = vp::FILE_ATTRIBUTE_DIRECTORY;
constexpr std::uint32_t Archive = vp::FILE_ATTRIBUTE_ARCHIVE;
constexpr std::uint32_t Device = vp::FILE_ATTRIBUTE_DEVICE;
constexpr std::uint32_t Reparse = vp::FILE_ATTRIBUTE_REPARSE_POINT;

TEST(FileOperationsTest, AttributesDescribeEachKindOfEntry) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string file = fixture.file("plain.tmp", "x");
    const std::string readOnly = fixture.file("locked.tmp", "x");
    chmod(readOnly.c_str(), 0444);
    const std::string hidden = fixture.file(".hidden", "x");
    const std::string folder = fixture.folder("sub");
    const std::string fifo = fixture.path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string linkToFile = fixture.path("to-file");
    const std::string linkToFolder = fixture.path("to-folder");
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

TEST(FileOperationsTest, OnlyANameTheSystemDoesNotKnowCountsAsMissing) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string removed = fixture.file("gone.tmp", "x");
    ASSERT_EQ(unlink(removed.c_str()), 0);
    const std::string regular = fixture.file("plain", "x");

    const vp::FileAttributeValue gone = vp::GetFileAttributes(removed);
    EXPECT_TRUE(gone.isMissing());
    EXPECT_EQ(gone.error(), ENOENT);

    // A folder of the path replaced by a regular file: nothing can exist below it.
    const vp::FileAttributeValue through = vp::GetFileAttributes(regular + "/file.tmp");
    EXPECT_TRUE(through.isMissing());
    EXPECT_EQ(through.error(), ENOTDIR);

    EXPECT_FALSE(vp::GetFileAttributes("relative/file.tmp").isMissing());
    EXPECT_FALSE(vp::GetFileAttributes(fixture.path("x/../plain")).isMissing());
    EXPECT_FALSE(vp::GetFileAttributes("/").isMissing());
}

} // namespace
