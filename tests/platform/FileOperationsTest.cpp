#include "platform/FileOperations.h"

#include "FixtureFolder.h"
#include "platform/AttributeMapping.h"
#include "platform/FileAttributes.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vp = velmaro::platform;
using velmaro::test::FixtureFolder;

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

TEST(FileOperationsTest, OnlyANameTheSystemDoesNotKnowCountsAsMissing) {
    FixtureFolder fixture;
    const std::string removed = fixture.makeFile("gone.tmp");
    ASSERT_EQ(unlink(removed.c_str()), 0);
    const std::string regular = fixture.makeFile("plain");

    const vp::FileAttributeValue gone = vp::GetFileAttributes(removed);
    EXPECT_TRUE(gone.isMissing());
    EXPECT_EQ(gone.error(), ENOENT);

    // A folder of the path replaced by a regular file: nothing can exist below it.
    const vp::FileAttributeValue through = vp::GetFileAttributes(regular + "/file.tmp");
    EXPECT_TRUE(through.isMissing());
    EXPECT_EQ(through.error(), ENOTDIR);

    EXPECT_FALSE(vp::GetFileAttributes("relative/file.tmp").isMissing());
    EXPECT_FALSE(vp::GetFileAttributes(fixture / "x/../plain").isMissing());
    EXPECT_FALSE(vp::GetFileAttributes("/").isMissing());
}

} // namespace
