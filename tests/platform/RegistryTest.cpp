// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include "TempFolder.h"
#include "cleaner/JunkCatalogue.h"
#include "platform/CodePage.h"
#include "platform/EnumerationMask.h"
#include "platform/RegistryFormat.h"
#include "platform/Utf16.h"
#include "platform/posix/ReplaceFile.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velmaro::platform;
using velmaro::test::fileText;
namespace fs = std::filesystem;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\test";

std::string sz(std::string_view utf8) {
    return Utf8ToUtf16Le(utf8).value() + std::string(2, '\0');
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The temporary files of the settings file path left in its folder.
std::vector<std::string> temporariesBeside(const std::string& path) {
    std::vector<std::string> found;
    const fs::path file(path);
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (IsTemporaryFileName(file.filename().string(), entry.path().filename().string()))
            found.push_back(entry.path().filename().string());
    return found;
}

std::size_t valueCount(const RegistryTree& tree) {
    std::size_t count = 0;
    for (const RegistryKey& key : tree.keys())
        count += key.Values.size();
    return count;
}

// A valid export of about size bytes: one key with many values and many keys with one.
std::string largeExport(std::size_t size) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[" + kKey + "]\r\n";
    for (int i = 0; text.size() < size / 2; ++i)
        text += "\"value " + std::to_string(i) + "\"=\"" + std::string(20, 'x') + "\"\r\n";
    for (int i = 0; text.size() < size; ++i)
        text += "\r\n[" + kKey + "\\sub " + std::to_string(i) + "]\r\n\"v\"=dword:00000001\r\n";
    return text + "\r\n";
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
    void set(const Registry& registry, const std::string& name, const std::string& text) {
        ASSERT_EQ(registry.update(
                      [&](RegistryTree& tree) { tree.setValue(kKey, name, REG_SZ, sz(text)); }),
                  Registry::UpdateResult::Done);
    }

    const velmaro::test::TempFolder m_folder;
    const std::string m_root = m_folder.path();
    const std::string m_path = m_root + "/Quarno Labs/Velmaro 2.reg";
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
        EXPECT_EQ(fileText(m_path), c.bytes) << "reading never changes the file";

        set(registry, "Name", "default");
        EXPECT_EQ(fileText(m_path + ".bad"), c.bytes);
        const auto tree = ParseRegistryText(fileText(m_path));
        ASSERT_TRUE(tree);
        EXPECT_TRUE(tree->findValue(kKey, "Name"));
    }
}

// Settings folders as a hostile or careless home folder may hold them. Every case must end in
// a read that returns at once and a save that succeeds, with nothing of the user's lost.
TEST_F(RegistryFileTest, HostileSettingsFoldersNeitherStallNorLoseAnything) {
    const std::string folder = m_root + "/Quarno Labs";
    const std::string outside = m_root + "/outside";
    const std::string large = largeExport(1024 * 1024);
    const std::string tooLarge = largeExport(Registry::MaxFileSize + 1);
    const std::string returnKey = "Windows Registry Editor Version 5.00\r\n\r\n[\r]\r\n";
    const struct {
        const char* what;
        std::function<void()> plant;
        std::size_t valuesRead; // what the first read finds
        std::function<void()> expect;
    } cases[] = {
        {"a valid file of 1 MiB", [&] { writeFile(m_path, large); },
         valueCount(*ParseRegistryText(large)),
         [&] {
             EXPECT_FALSE(fs::exists(m_path + ".bad"));
             EXPECT_EQ(valueCount(*ParseRegistryText(fileText(m_path))),
                       valueCount(*ParseRegistryText(large)) + 1);
         }},
        {"a valid file over the size bound", [&] { writeFile(m_path, tooLarge); }, 0,
         [&] { EXPECT_EQ(fileText(m_path + ".bad"), tooLarge); }},
        {"a key the writer refuses", [&] { writeFile(m_path, returnKey); }, 0,
         [&] { EXPECT_EQ(fileText(m_path + ".bad"), returnKey); }},
        {"a planted temporary file link",
         [&] {
             writeFile(outside, "victim");
             fs::create_symlink(outside, m_path + ".new");
             fs::create_symlink(outside, TemporaryFileName(m_path, 0));
         },
         0,
         [&] {
             EXPECT_EQ(fileText(outside), "victim");
             EXPECT_TRUE(fs::is_symlink(m_path + ".new"));
         }},
        {"a FIFO as the file", [&] { ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0); }, 0,
         [&] { EXPECT_TRUE(fs::is_fifo(fs::symlink_status(m_path + ".bad"))); }},
        {"a link to a FIFO",
         [&] {
             ASSERT_EQ(::mkfifo(outside.c_str(), 0600), 0);
             fs::create_symlink(outside, m_path);
         },
         0,
         [&] {
             EXPECT_TRUE(fs::is_fifo(fs::symlink_status(outside))) << "nothing outside moved";
             EXPECT_TRUE(fs::is_symlink(m_path + ".bad")) << "the link itself is kept aside";
         }},
        {"a folder as the file", [&] { fs::create_directory(m_path); }, 0,
         [&] { EXPECT_TRUE(fs::is_directory(m_path + ".bad")); }},
        {"the file as a relative link",
         [&] {
             fs::create_directory(m_root + "/dotfiles");
             writeFile(m_root + "/dotfiles/velmaro.reg",
                       "Windows Registry Editor Version 5.00\r\n\r\n[" + kKey +
                           "]\r\n\"Theirs\"=\"kept\"\r\n\r\n");
             ::chmod((m_root + "/dotfiles/velmaro.reg").c_str(), 0640);
             fs::create_symlink("../dotfiles/velmaro.reg", m_path);
         },
         1,
         [&] {
             ASSERT_TRUE(fs::is_symlink(m_path)) << "the link stays a link";
             EXPECT_EQ(fs::read_symlink(m_path), "../dotfiles/velmaro.reg");
             const auto tree = ParseRegistryText(fileText(m_root + "/dotfiles/velmaro.reg"));
             ASSERT_TRUE(tree) << "the target holds the new text";
             EXPECT_TRUE(tree->findValue(kKey, "Theirs"));
             EXPECT_TRUE(tree->findValue(kKey, "Name"));
             EXPECT_EQ(fs::status(m_root + "/dotfiles/velmaro.reg").permissions() & fs::perms::all,
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
             EXPECT_EQ(temporariesBeside(m_root + "/dotfiles/velmaro.reg"),
                       std::vector<std::string>{});
         }},
        {"a link to a missing file",
         [&] {
             fs::create_directory(m_root + "/dotfiles");
             fs::create_symlink(m_root + "/dotfiles/velmaro.reg", m_path);
         },
         0,
         [&] {
             EXPECT_TRUE(fs::is_symlink(m_path));
             EXPECT_TRUE(ParseRegistryText(fileText(m_root + "/dotfiles/velmaro.reg")));
         }},
        {"a loop of links", [&] { fs::create_symlink("Velmaro 2.reg", m_path); }, 0,
         [&] { EXPECT_TRUE(fs::is_symlink(m_path + ".bad")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_folder.clear();
        fs::create_directories(folder);
        c.plant();
        const Registry registry(m_path);
        EXPECT_EQ(valueCount(registry.read()), c.valuesRead);
        set(registry, "Name", "default");
        EXPECT_TRUE(fs::is_regular_file(m_path)) << "the file is readable again";
        EXPECT_TRUE(registry.read().findValue(kKey, "Name"));
        EXPECT_EQ(temporariesBeside(m_path), std::vector<std::string>{});
        c.expect();
    }
}

TEST_F(RegistryFileTest, CorruptFilesInARowAreAllKeptAside) {
    const Registry registry(m_path);
    fs::create_directories(m_root + "/Quarno Labs");
    for (const char* garbage : {"first", "second", "third"}) {
        writeFile(m_path, garbage);
        set(registry, "Name", garbage);
    }
    EXPECT_EQ(fileText(m_path + ".bad"), "first");
    EXPECT_EQ(fileText(m_path + ".2.bad"), "second");
    EXPECT_EQ(fileText(m_path + ".3.bad"), "third");
}

TEST_F(RegistryFileTest, TemporaryFileNeverOpensWhatIsPlantedUnderItsName) {
    fs::create_directories(m_root + "/Quarno Labs");
    const std::string victim = m_root + "/victim";
    writeFile(victim, "victim");
    fs::create_symlink(victim, TemporaryFileName(m_path, 1));
    fs::create_symlink(m_root + "/missing", TemporaryFileName(m_path, 2));
    std::uint64_t draws[] = {1, 2, 3};
    std::size_t drawn = 0;
    ASSERT_TRUE(ReplaceFile(m_path, "new text", 0600, [&] { return draws[drawn++]; }));
    EXPECT_EQ(drawn, 3u) << "a taken name is never used";
    EXPECT_EQ(fileText(m_path), "new text");
    EXPECT_EQ(fileText(victim), "victim");
    EXPECT_FALSE(fs::exists(m_root + "/missing")) << "a dangling link is not followed either";
}

TEST(RegistryTemporaryName, MatchesNoJunkMask) {
    ASSERT_TRUE(CodePage::select("UTF-8"));
    std::vector<EnumerationMask> masks;
    for (const velmaro::JunkType& row : velmaro::junkCatalogue())
        masks.emplace_back(row.mask);
    ASSERT_EQ(masks.size(), 42u);
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        const std::string name =
            fs::path(TemporaryFileName("/home/u/Velmaro 2.reg", random())).filename().string();
        for (std::size_t m = 0; m < masks.size(); ++m)
            EXPECT_FALSE(masks[m].matches(name))
                << name << " matches " << velmaro::junkCatalogue()[m].mask;
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
        const auto tree = ParseRegistryText(fileText(m_path));
        ASSERT_TRUE(tree) << "round " << round;
        EXPECT_TRUE(tree->findValue(kKey, "start")) << "round " << round;
    }
    set(registry, "end", "1");
    EXPECT_EQ(temporariesBeside(m_path), std::vector<std::string>{})
        << "the next write removes what killed writers left";
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
    EXPECT_EQ(fileText(plainFile), "keep");
}

TEST_F(RegistryFileTest, FolderThatCannotBeWrittenFailsTheWriteAndKeepsTheFile) {
    const Registry registry(m_path);
    set(registry, "Name", "before");
    const std::string before = fileText(m_path);
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
    EXPECT_EQ(fileText(m_path), before);
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
