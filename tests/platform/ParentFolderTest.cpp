#include "platform/posix/ParentFolder.h"

#include "FixtureFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using velmaro::platform::ParentFolder;
using velmaro::test::FixtureFolder;

namespace {

// Both ways of opening the folders must give the same answers.
TEST(ParentFolderTest, BothResolutionsRefuseLinksAndNameTheCause) {
    FixtureFolder fixture;
    fixture.makeFile("a/b/file.tmp");
    fixture.makeFile("plain");
    ASSERT_EQ(symlink((fixture / "a").c_str(), (fixture / "link").c_str()), 0);
    ASSERT_EQ(symlink((fixture / "a/b/file.tmp").c_str(), (fixture / "a/b/last").c_str()), 0);

    const struct {
        std::string path;
        int error;
        const char* name;
    } cases[] = {
        {fixture / "a/b/file.tmp", 0, "file.tmp"},
        {fixture / "a//b/file.tmp", 0, "file.tmp"},
        {fixture / "a/b/last", 0, "last"},
        {fixture / "a/b/missing.tmp", 0, "missing.tmp"},
        {fixture / "link/b/file.tmp", ELOOP, ""},
        {fixture / "a/link-less/file.tmp", ENOENT, ""},
        {fixture / "plain/file.tmp", ENOTDIR, ""},
        {fixture / "a/../a/b/file.tmp", EINVAL, ""},
        {fixture / "a/./b/file.tmp", EINVAL, ""},
        {"a/b/file.tmp", EINVAL, ""},
        {"/", EINVAL, ""},
    };
    for (const auto resolution :
         {ParentFolder::Resolution::automatic, ParentFolder::Resolution::folderByFolder}) {
        for (const auto& c : cases) {
            ParentFolder parent;
            EXPECT_EQ(parent.open(c.path, resolution), c.error) << c.path;
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

} // namespace
