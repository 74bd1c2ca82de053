// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderListing.h"

#include "TempFolder.h"
#include "platform/FileAttributes.h"

#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace velmaro::platform;
using velmaro::test::TempFolder;

namespace {

// Each test lists entries it made in a temporary folder of its own.
class FolderListingTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(TempFolder::removeTree(m_folder.path())); }

    std::map<std::string, FindData> describeAll(FolderListing& listing) {
        std::map<std::string, FindData> described;
        for (std::size_t i = 0; i < listing.count(); ++i) {
            FindData data;
            EXPECT_TRUE(listing.describe(i, data)) << listing.name(i);
            EXPECT_EQ(std::string(data.cFileName), listing.name(i));
            described.emplace(listing.name(i), data);
        }
        return described;
    }

    const TempFolder m_folder;
    const std::string m_root = m_folder.root();
};

TEST_F(FolderListingTest, MapsEntriesOntoTheWindowsAttributes) {
    m_folder.file(".hidden", "x");
    m_folder.file("readonly.txt", "12345", 0444);
    m_folder.file("plain.txt", "1234567");
    ASSERT_EQ(mkdir((m_root + "folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((m_root + "pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink("folder", (m_root + "to-folder").c_str()), 0);
    ASSERT_EQ(symlink("plain.txt", (m_root + "to-file").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (m_root + "dangling").c_str()), 0);

    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    const auto described = describeAll(listing);

    const std::map<std::string, std::uint32_t> expected = {
        {".", FILE_ATTRIBUTE_DIRECTORY},
        {"..", FILE_ATTRIBUTE_DIRECTORY},
        {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {"readonly.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"plain.txt", FILE_ATTRIBUTE_ARCHIVE},
        {"folder", FILE_ATTRIBUTE_DIRECTORY},
        {"pipe", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DEVICE},
        {"to-folder", FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY},
        {"to-file", FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE},
        {"dangling", FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE},
    };
    ASSERT_EQ(described.size(), expected.size());
    for (const auto& [name, attributes] : expected) {
        ASSERT_TRUE(described.count(name)) << name;
        EXPECT_EQ(described.at(name).dwFileAttributes, attributes) << name;
    }

    // Sizes: regular files only; a link is described as itself, not as its target.
    EXPECT_EQ(described.at("plain.txt").nFileSizeLow, 7u);
    EXPECT_EQ(described.at("readonly.txt").nFileSizeLow, 5u);
    EXPECT_EQ(described.at("to-file").nFileSizeLow, 0u);
    EXPECT_EQ(described.at("folder").nFileSizeLow, 0u);
    EXPECT_EQ(described.at("pipe").nFileSizeLow, 0u);
}

TEST_F(FolderListingTest, ReportsTheEntryKindsWithoutAStatCall) {
    m_folder.file("file", "");
    ASSERT_EQ(mkdir((m_root + "folder").c_str(), 0755), 0);
    ASSERT_EQ(symlink("folder", (m_root + "link").c_str()), 0);

    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    std::map<std::string, FolderListing::EntryKind> kinds;
    for (std::size_t i = 0; i < listing.count(); ++i)
        kinds.emplace(listing.name(i), listing.kind(i));
    using Kind = FolderListing::EntryKind;
    // Some file systems do not report kinds; the listing says Unknown then.
    for (const auto& [name, want] : std::map<std::string, Kind>{{".", Kind::Directory},
                                                                {"..", Kind::Directory},
                                                                {"file", Kind::File},
                                                                {"folder", Kind::Directory},
                                                                {"link", Kind::Link}}) {
        ASSERT_TRUE(kinds.count(name)) << name;
        EXPECT_TRUE(kinds.at(name) == want || kinds.at(name) == Kind::Unknown) << name;
    }
}

TEST_F(FolderListingTest, GivesTheFileTimesAsWindowsFileTimes) {
    m_folder.file("dated", "");
    // 2001-09-09 01:46:40 UTC, and one second later.
    const timespec times[2] = {{1000000000, 0}, {1000000001, 500}};
    ASSERT_EQ(utimensat(AT_FDCWD, (m_root + "dated").c_str(), times, 0), 0);

    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    const FindData data = describeAll(listing).at("dated");
    constexpr FileTime base = (1000000000ull + 11644473600ull) * 10000000ull;
    EXPECT_EQ(data.ftLastAccessTime, base);
    EXPECT_EQ(data.ftLastWriteTime, base + 10000000ull + 5);
    // The birth time where the file system keeps one (just now), else the last write.
    EXPECT_TRUE(data.ftCreationTime == data.ftLastWriteTime ||
                data.ftCreationTime > data.ftLastWriteTime);
}

TEST_F(FolderListingTest, DescribeFailsForAnEntryThatVanished) {
    m_folder.file("gone", "");
    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    ASSERT_EQ(unlink((m_root + "gone").c_str()), 0);
    for (std::size_t i = 0; i < listing.count(); ++i) {
        FindData data;
        EXPECT_EQ(listing.describe(i, data), listing.name(i) != "gone") << listing.name(i);
    }
    listing.close();
    FindData data;
    EXPECT_FALSE(listing.describe(0, data));
    EXPECT_FALSE(listing.name(0).empty());
}

TEST_F(FolderListingTest, OpenFailsForWhatIsNoReadableFolder) {
    m_folder.file("file", "");
    FolderListing listing;
    EXPECT_FALSE(listing.open(m_root + "missing"));
    EXPECT_FALSE(listing.open(m_root + "file"));
    EXPECT_FALSE(listing.open(m_root + "file/below"));
    EXPECT_FALSE(listing.open(""));
    EXPECT_EQ(listing.count(), 0u);
}

TEST_F(FolderListingTest, KeepsEveryEntryOfALargeFolder) {
    // More names than one read of the directory returns.
    constexpr int entries = 1500;
    for (int i = 0; i < entries; ++i)
        m_folder.file("entry-with-a-rather-long-name-" + std::to_string(i), "");
    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    EXPECT_EQ(listing.count(), entries + 2u);
}

// Whether Path is the mount point of a file system of its own, by the mount table.
bool isMountPoint(const std::string& path) {
    std::ifstream mountInfo("/proc/self/mountinfo");
    std::string id, parent, device, root, mountPoint, rest;
    while (mountInfo >> id >> parent >> device >> root >> mountPoint &&
           std::getline(mountInfo, rest))
        if (mountPoint == path)
            return true;
    return false;
}

TEST(FolderListing, MarksAFolderWithAFileSystemMountedOnItAsAReparsePoint) {
    if (!isMountPoint("/proc"))
        GTEST_SKIP() << "/proc is not a mount point on this machine";
    FolderListing listing;
    ASSERT_TRUE(listing.open("/"));
    std::size_t proc = 0;
    while (proc < listing.count() && listing.name(proc) != "proc")
        ++proc;
    ASSERT_LT(proc, listing.count()) << "no entry proc in /";
    FindData data;
    ASSERT_TRUE(listing.describe(proc, data));
    constexpr std::uint32_t mountRoot = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_EQ(data.dwFileAttributes & mountRoot, mountRoot);
}

TEST_F(FolderListingTest, NoFollowRefusesALinkAtTheLastName) {
    ASSERT_EQ(mkdir((m_root + "real").c_str(), 0755), 0);
    m_folder.file("real/a.tmp", "x");
    ASSERT_EQ(symlink((m_root + "real").c_str(), (m_root + "link").c_str()), 0);
    FolderListing listing;
    for (const char* path : {"link", "link/"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(listing.open(m_root + path, FolderListing::LinkPolicy::NoFollow));
        EXPECT_EQ(listing.count(), 0u);
        EXPECT_TRUE(listing.open(m_root + path, FolderListing::LinkPolicy::Follow));
        EXPECT_EQ(listing.count(), 3u);
    }
    EXPECT_TRUE(listing.open(m_root + "real/", FolderListing::LinkPolicy::NoFollow));
    EXPECT_EQ(listing.count(), 3u);
}

} // namespace

TEST_F(FolderListingTest, DescribesEachEntrysIdentity) {
    m_folder.file("a.tmp", "12345");
    struct stat st {};
    ASSERT_EQ(lstat((m_root + "a.tmp").c_str(), &st), 0);

    FolderListing listing;
    ASSERT_TRUE(listing.open(m_root));
    const FindData data = describeAll(listing).at("a.tmp");
    EXPECT_EQ(data.Identity.device, static_cast<std::uint64_t>(st.st_dev));
    EXPECT_EQ(data.Identity.inode, static_cast<std::uint64_t>(st.st_ino));
    EXPECT_EQ(data.Identity.size, 5u);
    EXPECT_EQ(data.Identity.modified.seconds, st.st_mtim.tv_sec);
    EXPECT_EQ(data.Identity.modified.nanoseconds, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));

    // Another file under the same name is another file.
    ASSERT_EQ(unlink((m_root + "a.tmp").c_str()), 0);
    m_folder.file("b.tmp", "keeps the old inode busy");
    m_folder.file("a.tmp", "12345");
    ASSERT_TRUE(listing.open(m_root));
    EXPECT_FALSE(describeAll(listing).at("a.tmp").Identity.sameFile(data.Identity));
}

TEST_F(FolderListingTest, GivesUpAReadThatGrowsTooLargeOrIsStopped) {
    for (int i = 0; i < 300; ++i)
        m_folder.file("entry-" + std::to_string(i), "");
    FolderListing listing;
    using Result = FolderListing::ReadResult;
    EXPECT_EQ(listing.read(FolderHandle::open(m_root), 1000), Result::Stopped);
    EXPECT_EQ(listing.count(), 0u);
    EXPECT_TRUE(listing.isOpen()) << "a read given up keeps its folder";

    int asked = 0;
    EXPECT_EQ(listing.read(FolderHandle::open(m_root), SIZE_MAX, [&] { return ++asked > 10; }),
              Result::Stopped);
    EXPECT_EQ(asked, 11) << "asked before each entry";

    EXPECT_EQ(listing.read(FolderHandle::open(m_root)), Result::Read);
    EXPECT_EQ(listing.count(), 302u);
    EXPECT_EQ(listing.read(FolderHandle::open(m_root + "missing")), Result::Unreadable);
    EXPECT_FALSE(listing.isOpen());
}

TEST_F(FolderListingTest, OpensFoldersByNameNeverThroughALink) {
    ASSERT_EQ(mkdir((m_root + "a").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((m_root + "a/b").c_str(), 0755), 0);
    m_folder.file("a/file", "");
    ASSERT_EQ(symlink("a", (m_root + "link").c_str()), 0);
    ASSERT_EQ(symlink("b", (m_root + "a/link").c_str()), 0);
    const FolderHandle root = FolderHandle::open(m_root);
    ASSERT_TRUE(root.valid());

    EXPECT_TRUE(root.openChild("a").valid());
    EXPECT_FALSE(root.openChild("link").valid());
    EXPECT_FALSE(root.openChild("missing").valid());
    EXPECT_FALSE(FolderHandle().openChild("a").valid());

    struct BelowCase {
        const char* relative;
        bool opens;
    };
    for (const BelowCase& c :
         {BelowCase{"a/b", true}, BelowCase{"a", true}, BelowCase{"link/b", false},
          BelowCase{"a/link", false}, BelowCase{"a/file", false}, BelowCase{"a/../a", false},
          BelowCase{"./a", false}, BelowCase{"a//b", false}, BelowCase{"", false}})
        EXPECT_EQ(root.openBelow(c.relative).valid(), c.opens) << c.relative;

    FolderStatus atRoot, aboveB;
    ASSERT_TRUE(root.status(atRoot));
    FolderHandle b = root.openBelow("a/b");
    FolderHandle a = b.openParent();
    ASSERT_TRUE(a.openParent().status(aboveB));
    EXPECT_EQ(aboveB.inode, atRoot.inode);
    EXPECT_EQ(aboveB.device, atRoot.device);
}

TEST_F(FolderListingTest, FolderStatusTellsAChangedAndARemovedFolder) {
    ASSERT_EQ(mkdir((m_root + "a").c_str(), 0755), 0);
    const FolderHandle folder = FolderHandle::open(m_root + "a");
    FolderStatus before, after;
    ASSERT_TRUE(folder.status(before));
    EXPECT_FALSE(before.removed);
    // Change times come from a coarse clock: an old one shows the next change for sure.
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (m_root + "a").c_str(), past, 0), 0);
    ASSERT_TRUE(folder.status(before));
    m_folder.file("a/new", "");
    ASSERT_TRUE(folder.status(after));
    EXPECT_FALSE(after.changed == before.changed);

    ASSERT_EQ(unlink((m_root + "a/new").c_str()), 0);
    ASSERT_EQ(rmdir((m_root + "a").c_str()), 0);
    ASSERT_TRUE(folder.status(after));
    EXPECT_TRUE(after.removed);
    EXPECT_FALSE(FolderHandle().status(after));
}

TEST(FolderHandle, NeverOpensBelowIntoAnotherFileSystem) {
    if (!isMountPoint("/proc"))
        GTEST_SKIP() << "/proc is not a mount point on this machine";
    const FolderHandle root = FolderHandle::open("/");
    EXPECT_FALSE(root.openBelow("proc/self").valid());
    EXPECT_FALSE(root.openBelow("proc").valid());
}
