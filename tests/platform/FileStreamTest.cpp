// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileStream.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

using velmaro::platform::FileStream;

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    velmaro::test::TempFolder m_folder;
};

TEST_F(FileStreamTest, ReadsUpToTheEndAndMovesBack) {
    FileStream file;
    ASSERT_TRUE(file.open(m_folder.file("f", "abcdef")));
    char buffer[8] = {};
    EXPECT_EQ(file.read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_TRUE(file.seekBack(3));
    EXPECT_EQ(file.read(buffer, 8), 5u);
    EXPECT_EQ(std::string(buffer, 5), "bcdef");
    EXPECT_EQ(file.read(buffer, 8), 0u);
    EXPECT_FALSE(file.seekBack(100));
    EXPECT_EQ(file.read(buffer, 8), 0u);
}

TEST_F(FileStreamTest, RefusesWhatIsNotARegularFile) {
    const std::string fifo = m_folder.fifo("fifo", 0600);
    const std::string socketPath = m_folder.socket("socket");

    // A FIFO without a writer would block a plain open; /dev/zero would never end.
    for (const std::string& p :
         {fifo, socketPath, std::string("/dev/zero"), m_folder.path(), m_folder.path("missing")}) {
        FileStream file;
        EXPECT_FALSE(file.open(p)) << p;
        EXPECT_FALSE(file.isOpen()) << p;
        char byte;
        EXPECT_EQ(file.read(&byte, 1), 0u) << p;
    }
}

TEST_F(FileStreamTest, FollowsALinkToARegularFile) {
    m_folder.link(m_folder.file("target", "xyz"), "link");
    FileStream file;
    ASSERT_TRUE(file.open(m_folder.path("link")));
    char buffer[4];
    EXPECT_EQ(file.read(buffer, 4), 3u);
}

} // namespace
