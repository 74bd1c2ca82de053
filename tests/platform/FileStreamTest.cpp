#include "platform/FileStream.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using velmaro::platform::FileStream;

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_temp.path(name); }
    std::string writeFile(const std::string& name, const std::string& bytes) const {
        return m_temp.writeFile(name, bytes);
    }
    const std::filesystem::path& dir() const { return m_temp.dir(); }

private:
    velmaro::testing::TempDir m_temp;
};

TEST_F(FileStreamTest, ReadsUpToTheEndAndMovesBack) {
    FileStream file;
    ASSERT_TRUE(file.open(writeFile("f", "abcdef")));
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
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    // A FIFO without a writer would block a plain open; /dev/zero would never end.
    for (const std::string& p :
         {path("fifo"), socketPath, std::string("/dev/zero"), dir().string(), path("missing")}) {
        FileStream file;
        EXPECT_FALSE(file.open(p)) << p;
        EXPECT_FALSE(file.isOpen()) << p;
        char byte;
        EXPECT_EQ(file.read(&byte, 1), 0u) << p;
    }
    close(sock);
}

TEST_F(FileStreamTest, FollowsALinkToARegularFile) {
    const std::string target = writeFile("target", "xyz");
    ASSERT_EQ(symlink(target.c_str(), path("link").c_str()), 0);
    FileStream file;
    ASSERT_TRUE(file.open(path("link")));
    char buffer[4];
    EXPECT_EQ(file.read(buffer, 4), 3u);
}

} // namespace
