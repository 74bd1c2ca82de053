#include "platform/FileStream.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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
    ASSERT_EQ(mkfifo(m_folder.path("fifo").c_str(), 0600), 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = m_folder.path("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    // A FIFO without a writer would block a plain open; /dev/zero would never end.
    for (const std::string& p : {m_folder.path("fifo"), socketPath, std::string("/dev/zero"),
                                 m_folder.path(), m_folder.path("missing")}) {
        FileStream file;
        EXPECT_FALSE(file.open(p)) << p;
        EXPECT_FALSE(file.isOpen()) << p;
        char byte;
        EXPECT_EQ(file.read(&byte, 1), 0u) << p;
    }
    close(sock);
}

TEST_F(FileStreamTest, FollowsALinkToARegularFile) {
    m_folder.link(m_folder.file("target", "xyz"), "link");
    FileStream file;
    ASSERT_TRUE(file.open(m_folder.path("link")));
    char buffer[4];
    EXPECT_EQ(file.read(buffer, 4), 3u);
}

} // namespace
