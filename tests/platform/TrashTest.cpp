// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Trash.h"

#include "MountNamespace.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "platform/FileOperations.h"
#include "platform/ListedFile.h"
#include "platform/TrashInfo.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vp = velmaro::platform;
using velmaro::test::entryExists;
using velmaro::test::fileText;
using velmaro::test::inPrivateMountNamespace;
using velmaro::test::Namespaced;
using velmaro::test::permissionsOf;
using velmaro::test::runUnprivileged;
using velmaro::test::TempFolder;

namespace {

// The names in folder, sorted; empty when it cannot be read.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Moves the file at path, as a search would have listed it just now, into trash.
int trashNow(vp::Trash& trash, const std::string& path) {
    vp::ListedFile file(path, vp::GetFileAttributes(path).identity());
    return trash.moveToTrash(file, path);
}

// Whether info is the text of a trash info file for the percent-encoded path, dated now-ish.
bool isInfoFor(const std::string& info, const std::string& encodedPath) {
    static const std::regex date("DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    const std::string head = "[Trash Info]\nPath=" + encodedPath + "\n";
    return info.starts_with(head) && std::regex_match(info.substr(head.size()), date);
}

TEST(TrashInfoTest, PathsArePercentEncodedAsTheTrashStandardSays) {
    EXPECT_EQ(vp::PercentEncodedPath("/home/u/a-b_c.d!~*'()/Z9"), "/home/u/a-b_c.d!~*'()/Z9");
    EXPECT_EQ(vp::PercentEncodedPath("/a b/100%;#?&=+$,\n"),
              "/a%20b/100%25%3B%23%3F%26%3D%2B%24%2C%0A");
    EXPECT_EQ(vp::PercentEncodedPath("caf\xC3\xA9 \xFF"), "caf%C3%A9%20%FF");
}

TEST(TrashInfoTest, TakenNamesGetANumberBeforeTheExtensionAndLongNamesFit) {
    const struct {
        std::string name;
        unsigned number;
        std::string entry;
    } cases[] = {
        {"a.tmp", 1, "a.tmp"},
        {"a.tmp", 2, "a.2.tmp"},
        {"archive.tar.gz", 3, "archive.tar.3.gz"},
        {"README", 2, "README.2"},
        {".hidden", 2, ".hidden.2"},
        {"~$doc.", 2, "~$doc.2."},
        {std::string(251, 'x') + ".tmp", 1, std::string(241, 'x') + ".tmp"},
        {std::string(251, 'x') + ".tmp", 12, std::string(238, 'x') + ".12.tmp"},
        {"x." + std::string(250, 'e'), 2, "x." + std::string(241, 'e') + ".2"},
    };
    for (const auto& c : cases) {
        const std::string entry = vp::TrashEntryName(c.name, c.number);
        EXPECT_EQ(entry, c.entry) << c.name.substr(0, 20) << " " << c.number;
        EXPECT_LE(vp::TrashInfoName(entry).size(), 255u);
    }
    EXPECT_EQ(vp::TrashInfoName("a.2.tmp"), "a.2.tmp.trashinfo");
}

TEST(TrashTest, TheHomeTrashTakesTheFileWithItsInfo) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string data = fixture.path("data");
    const std::string path = fixture.file("tree/caf\xC3\xA9 1.tmp", "12345");
    ASSERT_EQ(chmod(path.c_str(), 0440), 0);
    const std::string second = fixture.file("tree/sub/caf\xC3\xA9 1.tmp");
    vp::Trash trash(data, geteuid());

    ASSERT_EQ(trashNow(trash, path), 0);
    ASSERT_EQ(trashNow(trash, second), 0);

    EXPECT_FALSE(entryExists(path));
    EXPECT_FALSE(entryExists(second));
    const std::string files = data + "/Trash/files/";
    const std::string info = data + "/Trash/info/";
    EXPECT_EQ(namesIn(files),
              (std::vector<std::string>{"caf\xC3\xA9 1.2.tmp", "caf\xC3\xA9 1.tmp"}));
    EXPECT_EQ(fileText(files + "caf\xC3\xA9 1.tmp"), "12345");
    // The file keeps its mode; what the trash made is the user's alone.
    EXPECT_EQ(permissionsOf(files + "caf\xC3\xA9 1.tmp"), 0440);
    for (const char* folder : {"/Trash", "/Trash/files", "/Trash/info"})
        EXPECT_EQ(permissionsOf(data + folder), 0700) << folder;
    EXPECT_EQ(permissionsOf(info + "caf\xC3\xA9 1.tmp.trashinfo"), 0600);
    EXPECT_TRUE(isInfoFor(fileText(info + "caf\xC3\xA9 1.tmp.trashinfo"),
                          fixture.path() + "/tree/caf%C3%A9%201.tmp"));
    EXPECT_TRUE(isInfoFor(fileText(info + "caf\xC3\xA9 1.2.tmp.trashinfo"),
                          fixture.path() + "/tree/sub/caf%C3%A9%201.tmp"));
}

TEST(TrashTest, NamesTakenInEitherFolderAreSkippedAndNothingIsReplaced) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string data = fixture.path("data");
    // From earlier clean-ups: an info file whose file is gone, a file whose info is gone.
    fixture.file("data/Trash/info/a.tmp.trashinfo", "earlier");
    fixture.file("data/Trash/files/a.2.tmp", "earlier");
    const std::string path = fixture.file("tree/a.tmp", "new");
    vp::Trash trash(data, geteuid());
    ASSERT_EQ(trashNow(trash, path), 0);
    EXPECT_EQ(namesIn(data + "/Trash/files"), (std::vector<std::string>{"a.2.tmp", "a.3.tmp"}));
    EXPECT_EQ(namesIn(data + "/Trash/info"),
              (std::vector<std::string>{"a.3.tmp.trashinfo", "a.tmp.trashinfo"}));
    EXPECT_EQ(fileText(data + "/Trash/files/a.2.tmp"), "earlier");
    EXPECT_EQ(fileText(data + "/Trash/info/a.tmp.trashinfo"), "earlier");
    EXPECT_EQ(fileText(data + "/Trash/files/a.3.tmp"), "new");
}

TEST(TrashTest, AFileThatCannotMoveStaysAndLeavesNoInfoFile) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string data = fixture.folder("data");
    const std::string folder = fixture.folder("locked");
    const std::string path = fixture.file("locked/a.tmp");
    ASSERT_EQ(chmod(fixture.path().c_str(), 0755), 0);
    if (geteuid() == 0) {
        for (const std::string& owned : {data, folder, path})
            ASSERT_EQ(
                chown(owned.c_str(), velmaro::test::UnprivilegedId, velmaro::test::UnprivilegedId),
                0);
    }
    // The user's own folder, but one it may not change: the rename out of it fails.
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    EXPECT_TRUE(runUnprivileged([&] {
        vp::Trash trash(data, geteuid());
        return trashNow(trash, path) == EACCES;
    }));
    EXPECT_TRUE(entryExists(path));
    EXPECT_TRUE(namesIn(data + "/Trash/info").empty());
}

TEST(TrashTest, TheFixtureGuardKeepsTheTrashInsideTheFixture) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    TempFolder outside;
    const std::string path = fixture.file("tree/a.tmp");
    vp::Trash trash(outside.path("data"), geteuid());
    EXPECT_EQ(trashNow(trash, path), EPERM);
    EXPECT_TRUE(entryExists(path));
    EXPECT_FALSE(entryExists(outside.path("data")));
}

// A drive of its own (a tmpfs) below the fixture, and the home trash on the fixture's file
// system: the drive's files go into the trash below its mount point, their paths relative to
// it.
TEST(TrashTest, AnotherDrivesFilesGoIntoTheTrashBelowItsTopDirectory) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string drive = fixture.folder("drive");
    const std::string uid = std::to_string(geteuid());
    const struct {
        const char* what;
        // Prepares the drive's top directory; returns the trash its files must go into.
        std::function<std::string()> prepare;
    } cases[] = {
        {"no shared trash", [&] { return drive + "/.Trash-" + uid; }},
        {"a shared trash with the sticky bit",
         [&] {
             mkdir((drive + "/.Trash").c_str(), 01777);
             chmod((drive + "/.Trash").c_str(), 01777);
             return drive + "/.Trash/" + uid;
         }},
        {"a shared trash without the sticky bit",
         [&] {
             mkdir((drive + "/.Trash").c_str(), 0777);
             chmod((drive + "/.Trash").c_str(), 0777);
             return drive + "/.Trash-" + uid;
         }},
        {"a shared trash that is a link",
         [&] {
             mkdir((drive + "/elsewhere").c_str(), 01777);
             chmod((drive + "/elsewhere").c_str(), 01777);
             symlink("elsewhere", (drive + "/.Trash").c_str());
             return drive + "/.Trash-" + uid;
         }},
    };
    for (const auto& c : cases) {
        const Namespaced result = inPrivateMountNamespace([&] {
            if (mount("tmpfs", drive.c_str(), "tmpfs", 0, nullptr) != 0)
                _exit(2);
            const std::string expected = c.prepare();
            const std::string path = fixture.file("drive/sub/a b.tmp", "drive");
            vp::Trash trash(fixture.path("data"), geteuid());
            return trashNow(trash, path) == 0 && !entryExists(path) &&
                   fileText(expected + "/files/a b.tmp") == "drive" &&
                   isInfoFor(fileText(expected + "/info/a b.tmp.trashinfo"), "sub/a%20b.tmp") &&
                   permissionsOf(expected) == 0700 && !entryExists(fixture.path("data/Trash")) &&
                   namesIn(drive + "/elsewhere").empty();
        });
        if (result == Namespaced::unavailable)
            GTEST_SKIP() << "no private mount namespace with a tmpfs here (needs root)";
        EXPECT_EQ(result, Namespaced::passed) << c.what;
    }
}

TEST(TrashTest, AFileWhoseDriveHasNoTrashForTheUserStays) {
    TempFolder fixture(TempFolder::Guard::fixtureRoot);
    const std::string drive = fixture.folder("drive");
    ASSERT_EQ(chmod(fixture.path().c_str(), 0755), 0);
    const Namespaced result = inPrivateMountNamespace([&] {
        if (geteuid() != 0 || mount("tmpfs", drive.c_str(), "tmpfs", 0, "mode=0755") != 0)
            _exit(2);
        // A folder the user may change on a drive whose top directory it may not.
        const std::string open = fixture.folder("drive/open");
        chmod(open.c_str(), 01777);
        const std::string path = fixture.file("drive/open/a.tmp");
        chown(path.c_str(), velmaro::test::UnprivilegedId, velmaro::test::UnprivilegedId);
        const bool refused = runUnprivileged([&] {
            vp::Trash trash(fixture.path("data"), geteuid());
            return trashNow(trash, path) == EACCES;
        });
        return refused && entryExists(path) && namesIn(drive) == std::vector<std::string>{"open"};
    });
    if (result == Namespaced::unavailable)
        GTEST_SKIP() << "needs root for a private mount namespace with a tmpfs";
    EXPECT_EQ(result, Namespaced::passed);
}

} // namespace
