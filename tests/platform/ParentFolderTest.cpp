// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/ParentFolder.h"

#include "DeepFolders.h"
#include "TempFolder.h"
#include "platform/FileOperations.h"

#include <cerrno>
#include <climits>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using velmaro::platform::FileIdentity;
using velmaro::platform::GetFileAttributes;
using velmaro::platform::ParentFolder;
using velmaro::test::DeepFolders;
using velmaro::test::TempFolder;

namespace {

constexpr ParentFolder::Resolution BothResolutions[] = {ParentFolder::Resolution::automatic,
                                                        ParentFolder::Resolution::folderByFolder};

// Both ways of opening the folders must give the same answers.
TEST(ParentFolderTest, BothResolutionsRefuseLinksAndNameTheCause) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    fixture.file("a/b/file.tmp", "x");
    fixture.file("plain", "x");
    ASSERT_EQ(symlink(fixture.path("a").c_str(), fixture.path("link").c_str()), 0);
    ASSERT_EQ(symlink(fixture.path("a/b/file.tmp").c_str(), fixture.path("a/b/last").c_str()), 0);
    // Longer than PATH_MAX with few folders: each one's removal costs a disk write.
    const DeepFolders deep(fixture.folder("deep"), 40, std::string(250, 'd'));
    ASSERT_GT(deep.bottom().size(), 2u * PATH_MAX);

    const struct {
        std::string path;
        int error;
        const char* name;
    } cases[] = {
        {fixture.path("a/b/file.tmp"), 0, "file.tmp"},
        {fixture.path("a//b/file.tmp"), 0, "file.tmp"},
        {fixture.path("a/b/last"), 0, "last"},
        {fixture.path("a/b/missing.tmp"), 0, "missing.tmp"},
        {deep.bottom() + "/file.tmp", 0, "file.tmp"},
        {fixture.path("link/b/file.tmp"), ELOOP, ""},
        {fixture.path("a/link-less/file.tmp"), ENOENT, ""},
        {fixture.path("plain/file.tmp"), ENOTDIR, ""},
        {fixture.path("a/../a/b/file.tmp"), EINVAL, ""},
        {fixture.path("a/./b/file.tmp"), EINVAL, ""},
        {"a/b/file.tmp", EINVAL, ""},
        {"/", EINVAL, ""},
    };
    for (const auto resolution : BothResolutions) {
        for (const auto& c : cases) {
            ParentFolder parent;
            EXPECT_EQ(parent.open(c.path, nullptr, resolution), c.error) << c.path.substr(0, 80);
            if (c.error == 0) {
                EXPECT_GE(parent.fd(), 0);
                EXPECT_EQ(parent.name(), c.name);
                struct stat st {};
                ASSERT_EQ(fstat(parent.fd(), &st), 0);
                EXPECT_TRUE(S_ISDIR(st.st_mode));
            }
        }
    }
}

// Given the mount a file was listed on, the folder must lie on it, and only a lookup on that
// mount may say that a folder of the path is missing.
TEST(ParentFolderTest, ListedFileKeepsTheFolderOnItsMount) {
    const TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string file = fixture.file("a/file.tmp", "x");
    const FileIdentity here = GetFileAttributes(file).identity();
    FileIdentity otherDevice = here;
    otherDevice.device ^= 1;
    FileIdentity otherMount = here;
    otherMount.mount += 1;

    const struct {
        const char* what;
        std::string path;
        const FileIdentity* listed;
        int error;
    } cases[] = {
        {"the listed mount", file, &here, 0},
        {"a folder gone on the listed mount", fixture.path("gone/file.tmp"), &here, ENOENT},
        {"a file in place of a folder", file + "/file.tmp", &here, ENOTDIR},
        {"another device", file, &otherDevice, EXDEV},
        {"a folder gone on another device", fixture.path("gone/file.tmp"), &otherDevice, EXDEV},
        {"another mount of the device", file, &otherMount, here.mount ? EXDEV : 0},
    };
    for (const auto resolution : BothResolutions) {
        for (const auto& c : cases) {
            ParentFolder parent;
            EXPECT_EQ(parent.open(c.path, c.listed, resolution), c.error) << c.what;
        }
    }
}

} // namespace
