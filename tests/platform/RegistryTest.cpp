#include "platform/Registry.h"

#include "platform/RegistryFormat.h"
#include "platform/Utf16.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velmaro::platform;
namespace fs = std::filesystem;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\test";

std::string sz(std::string_view utf8) {
    return Utf8ToUtf16Le(utf8).value() + std::string(2, '\0');
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs body in a forked child and returns its exit status (the child's _exit code).
int inChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmaro-registry-XXXXXX";
        ASSERT_TRUE(::mkdtemp(pattern));
        m_root = pattern;
        m_path = m_root + "/Quarno Labs/Velmaro 2.reg";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_root + "/Quarno Labs", fs::perms::owner_all, ignored);
        fs::remove_all(m_root, ignored);
    }

    void set(const Registry& registry, const std::string& name, const std::string& text) {
        ASSERT_EQ(registry.update(
                      [&](RegistryTree& tree) { tree.setValue(kKey, name, REG_SZ, sz(text)); }),
                  Registry::UpdateResult::Done);
    }

    std::string m_root;
    std::string m_path;
};

TEST_F(RegistryFileTest, WriteCreatesFoldersAndKeepsValuesOthersWrote) {
    const Registry registry(m_path);
    EXPECT_TRUE(registry.read().keys().empty()) << "a missing file reads as an empty hive";
    writeFile(m_root + "/ignored", "");
    fs::create_directories(m_root + "/Quarno Labs");
    writeFile(m_path, "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Other\\Tool]\r\n"
                      "\"Blob\"=hex(a):01,02\r\n\r\n"
                      "[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\TEST]\r\n"
                      "\"Theirs\"=dword:00000007\r\n\r\n");
    set(registry, "Mine", "1");

    const RegistryTree tree = registry.read();
    ASSERT_TRUE(tree.findValue("HKEY_CURRENT_USER\\Other\\Tool", "Blob"));
    EXPECT_EQ(tree.findValue("HKEY_CURRENT_USER\\Other\\Tool", "Blob")->Type, 10u);
    ASSERT_TRUE(tree.findValue(kKey, "Theirs"));
    EXPECT_EQ(tree.findValue(kKey, "Theirs")->Type, REG_DWORD);
    ASSERT_TRUE(tree.findValue(kKey, "Mine"));
    EXPECT_EQ(tree.keys().size(), 2u) << "the key is matched without regard to case";
    EXPECT_FALSE(fs::exists(m_path + ".new"));
}

TEST_F(RegistryFileTest, EditThatChangesNothingLeavesTheFileAlone) {
    const Registry registry(m_path);
    set(registry, "Name", "default");
    struct stat before {};
    ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
    set(registry, "NAME", "default");
    struct stat after {};
    ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegistryFileTest, UnparsableFileReadsEmptyAndIsMovedAsideOnWrite) {
    std::string garbage(10 * 1024 * 1024, '\0');
    std::mt19937 random(5);
    for (char& c : garbage)
        c = static_cast<char>(random());
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"binary garbage", garbage.substr(0, 4096)},
        {"cut in the middle of a line",
         "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\software\\Quar"},
        {"10 MiB of garbage", garbage},
    };
    const Registry registry(m_path);
    fs::create_directories(m_root + "/Quarno Labs");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(m_path + ".bad");
        writeFile(m_path, c.bytes);
        EXPECT_TRUE(registry.read().keys().empty());
        EXPECT_EQ(readFile(m_path), c.bytes) << "reading never changes the file";

        set(registry, "Name", "default");
        EXPECT_EQ(readFile(m_path + ".bad"), c.bytes);
        const auto tree = ParseRegistryText(readFile(m_path));
        ASSERT_TRUE(tree);
        EXPECT_TRUE(tree->findValue(kKey, "Name"));
    }
}

TEST_F(RegistryFileTest, KillDuringWritesLeavesAWholeFile) {
    const Registry registry(m_path);
    set(registry, "start", "0");
    const std::string filler(4000, 'x');
    for (int round = 0; round < 20; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int i = 0;; ++i) {
                registry.update([&](RegistryTree& tree) {
                    tree.setValue(kKey, "v" + std::to_string(i % 50), REG_SZ,
                                  sz(filler + std::to_string(i)));
                });
            }
        }
        ::usleep(static_cast<useconds_t>(1000 + round * 1500));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const auto tree = ParseRegistryText(readFile(m_path));
        ASSERT_TRUE(tree) << "round " << round;
        EXPECT_TRUE(tree->findValue(kKey, "start")) << "round " << round;
    }
}

TEST_F(RegistryFileTest, ConcurrentWritersKeepEachOthersValues) {
    const Registry registry(m_path);
    const auto writeMany = [&](const std::string& prefix) {
        for (int i = 0; i < 40; ++i)
            if (registry.update([&](RegistryTree& tree) {
                    tree.setValue(kKey, prefix + std::to_string(i), REG_SZ, sz(prefix));
                }) != Registry::UpdateResult::Done)
                return 1;
        return 0;
    };
    const auto expectAll = [&](std::initializer_list<std::string> prefixes) {
        const RegistryTree tree = registry.read();
        for (const std::string& prefix : prefixes)
            for (int i = 0; i < 40; ++i)
                EXPECT_TRUE(tree.findValue(kKey, prefix + std::to_string(i))) << prefix << i;
    };

    int threadResults[2] = {-1, -1};
    std::thread a([&] { threadResults[0] = writeMany("threadA"); });
    std::thread b([&] { threadResults[1] = writeMany("threadB"); });
    a.join();
    b.join();
    EXPECT_EQ(threadResults[0], 0);
    EXPECT_EQ(threadResults[1], 0);
    expectAll({"threadA", "threadB"});

    const pid_t first = ::fork();
    if (first == 0)
        ::_exit(writeMany("processA"));
    const pid_t second = ::fork();
    if (second == 0)
        ::_exit(writeMany("processB"));
    for (const pid_t pid : {first, second}) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    expectAll({"threadA", "threadB", "processA", "processB"});
}

TEST_F(RegistryFileTest, FolderThatCannotBeCreatedFailsTheWrite) {
    const std::string plainFile = m_root + "/not-a-folder";
    writeFile(plainFile, "keep");
    const Registry registry(plainFile + "/Quarno Labs/Velmaro 2.reg");
    EXPECT_EQ(registry.update([](RegistryTree& tree) { tree.createKey(kKey); }),
              Registry::UpdateResult::FolderFailed);
    EXPECT_EQ(readFile(plainFile), "keep");
}

TEST_F(RegistryFileTest, FolderThatCannotBeWrittenFailsTheWriteAndKeepsTheFile) {
    const Registry registry(m_path);
    set(registry, "Name", "before");
    const std::string before = readFile(m_path);
    const std::string folder = m_root + "/Quarno Labs";
    // The unprivileged child must reach the folder and lock and read the file.
    fs::permissions(m_root, fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write |
                                fs::perms::others_read | fs::perms::group_read);
    fs::permissions(m_path + ".lock", fs::perms::owner_read | fs::perms::owner_write |
                                          fs::perms::others_read | fs::perms::group_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec | fs::perms::group_read |
                                fs::perms::group_exec);
    const int result = inChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 100;
        if (::access(folder.c_str(), W_OK) == 0)
            return 101;
        return static_cast<int>(registry.update(
            [](RegistryTree& tree) { tree.setValue(kKey, "Name", REG_SZ, sz("after")); }));
    });
    ASSERT_NE(result, 100) << "could not drop privileges";
    ASSERT_NE(result, 101) << "the folder stayed writable";
    EXPECT_EQ(result, static_cast<int>(Registry::UpdateResult::WriteFailed));
    EXPECT_EQ(readFile(m_path), before);
    EXPECT_FALSE(fs::exists(m_path + ".new"));
}

TEST(RegistryPath, FollowsXdgConfigHomeElseHome) {
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const auto restore = [](const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    };
    const auto xdg = saved("XDG_CONFIG_HOME");
    const auto home = saved("HOME");
    ::setenv("HOME", "/home/tester", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg/x", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/cfg/x/Quarno Labs/Velmaro 2.reg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/home/tester/.config/Quarno Labs/Velmaro 2.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Registry::DefaultPath(), "/home/tester/.config/Quarno Labs/Velmaro 2.reg");
    restore("XDG_CONFIG_HOME", xdg);
    restore("HOME", home);
}

} // namespace
