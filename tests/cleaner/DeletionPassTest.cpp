// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/DeletionPass.h"

#include "DeepFolders.h"
#include "MountNamespace.h"
#include "TempFolder.h"
#include "Unprivileged.h"
#include "cleaner/DeletionPreview.h"
#include "cleaner/DeletionRows.h"
#include "cleaner/FileDeletion.h"
#include "cleaner/TrashMove.h"
#include "platform/FileOperations.h"
#include "platform/Trash.h"

#include <QTest>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using velmaro::DeletionPass;
using velmaro::DeletionPreview;
using velmaro::FileDeletion;
using velmaro::TrashMove;
using velmaro::test::DeepFolders;
using velmaro::test::entryExists;
using velmaro::test::inPrivateMountNamespace;
using velmaro::test::Namespaced;
using velmaro::test::permissionsOf;
using velmaro::test::runUnprivileged;
using velmaro::test::TempFolder;

namespace {

struct Row {
    bool checked;
    std::string folder;
    std::string name;
    std::int64_t size;
    velmaro::platform::FileIdentity identity = {};
};

class RowList : public velmaro::DeletionRows {
public:
    std::vector<Row> rows;

    int Count() const override { return static_cast<int>(rows.size()); }
    bool isChecked(int row) const override { return rows.at(row).checked; }
    std::string folder(int row) const override { return rows.at(row).folder; }
    std::string name(int row) const override { return rows.at(row).name; }
    std::int64_t size(int row) const override { return rows.at(row).size; }
    velmaro::platform::FileIdentity identity(int row) const override {
        return rows.at(row).identity;
    }
    void removeRow(int row) override { rows.erase(rows.begin() + row); }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const Row& row : rows)
            result.push_back(row.name);
        return result;
    }
};

// A row for the file at path as a search lists it now: split into folder and name, with the
// file's identity (none for a file that does not exist).
Row rowForPath(const std::string& path, bool checked, std::int64_t size) {
    const std::size_t slash = path.rfind('/');
    return {checked, path.substr(0, slash + 1), path.substr(slash + 1), size,
            velmaro::platform::GetFileAttributes(path).identity()};
}

Row rowFor(const TempFolder& fixture, const std::string& relative, bool checked,
           std::int64_t size) {
    return rowForPath(fixture.path(relative), checked, size);
}

// Another process that holds a file open until the object goes.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path) {
        int ready[2];
        if (pipe(m_release) != 0 || pipe(ready) != 0)
            throw std::runtime_error("pipe");
        m_child = fork();
        if (m_child == 0) {
            const int fd = open(path.c_str(), O_RDONLY);
            char byte = fd >= 0 ? 1 : 0;
            close(m_release[1]);
            if (write(ready[1], &byte, 1) == 1)
                while (read(m_release[0], &byte, 1) > 0) {
                }
            _exit(0);
        }
        close(ready[1]);
        close(m_release[0]);
        char byte = 0;
        m_holding = read(ready[0], &byte, 1) == 1 && byte == 1;
        close(ready[0]);
    }
    ~HeldOpen() {
        close(m_release[1]);
        waitpid(m_child, nullptr, 0);
    }
    bool holding() const { return m_holding; }

private:
    int m_release[2];
    pid_t m_child = -1;
    bool m_holding = false;
};

} // namespace

class DeletionPassTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deletesCheckedRowsAndKeepsUncheckedOnesInOrder() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const TempFolder outside;
        const std::string twice = fixture.file("a/twice.tmp", "x");
        const std::string kept = fixture.file("a/kept.tmp", "x");
        const std::string readOnly = fixture.file("a/locked.tmp", "x");
        QCOMPARE(chmod(readOnly.c_str(), 0444), 0);
        const std::string gone = fixture.file("a/gone.tmp", "x");
        const std::string alsoKept = fixture.file("b/also-kept.tmp", "x");
        const std::string swapped = fixture.file("c/sub/swapped.tmp", "x");
        const std::string victim = outside.file("sub/swapped.tmp", "x");
        QCOMPARE(chmod(victim.c_str(), 0444), 0);
        // A row outside the fixture roots: the guard refuses it; a link to a folder that
        // survives must not pass for the folder that would mean the file is gone.
        const std::string refusedLink = outside.path("folder-link.tmp");
        QCOMPARE(symlink(outside.path().c_str(), refusedLink.c_str()), 0);

        RowList list;
        list.rows = {rowFor(fixture, "a/twice.tmp", true, 100),
                     rowFor(fixture, "a/kept.tmp", false, 1000),
                     rowFor(fixture, "a/locked.tmp", true, 20),
                     rowFor(fixture, "a/gone.tmp", true, 7),
                     rowFor(fixture, "a/twice.tmp", true, 100),
                     rowFor(fixture, "b/also-kept.tmp", false, 1000),
                     rowFor(fixture, "c/sub/swapped.tmp", true, 3),
                     rowFor(outside, "folder-link.tmp", true, 50)};
        // After the search: one file removed by someone else, one folder replaced by a link.
        QCOMPARE(unlink(gone.c_str()), 0);
        QCOMPARE(rename(fixture.path("c/sub").c_str(), fixture.path("c/old").c_str()), 0);
        QCOMPARE(symlink(outside.path("sub").c_str(), fixture.path("c/sub").c_str()), 0);
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        int filesDone = 0;
        pass.onFileDone = [&](const DeletionPass::FileDone&) { ++filesDone; };
        pass.Execute();

        QCOMPARE(filesDone, 6);
        QCOMPARE(list.names(), (std::vector<std::string>{"kept.tmp", "also-kept.tmp"}));
        // The file listed twice counts once.
        QCOMPARE(pass.DeletedCount(), 3);
        QCOMPARE(pass.FreedSize(), std::int64_t{100 + 20 + 7});
        QCOMPARE(pass.FailedFiles(), (std::vector<std::string>{swapped, refusedLink}));
        QVERIFY(entryExists(refusedLink));
        QVERIFY(!entryExists(twice));
        QVERIFY(!entryExists(readOnly));
        QVERIFY(entryExists(kept));
        QVERIFY(entryExists(alsoKept));
        QVERIFY(entryExists(victim));
        QCOMPARE(permissionsOf(victim), 0444);
    }

    // What changed at a listed path after the search is left alone, mode included, and the
    // file counts as not deleted.
    void leavesAloneWhatTheSearchDidNotList() {
        const struct {
            const char* what;
            // Changes the listed file at path after the search; returns what must survive.
            std::function<std::string(const std::string& path)> change;
            int mode; // the survivor's mode afterwards
        } cases[] = {
            {"replaced by a new file",
             [](const std::string& path) {
                 // Renamed away, so that the new file cannot reuse the inode number.
                 rename(path.c_str(), (path + "~").c_str());
                 std::ofstream(path) << "autosave";
                 chmod(path.c_str(), 0444);
                 return path;
             },
             0444},
            {"rewritten in place",
             [](const std::string& path) {
                 std::ofstream(path, std::ios::app) << "more";
                 chmod(path.c_str(), 0444);
                 return path;
             },
             0444},
            {"replaced by a folder",
             [](const std::string& path) {
                 unlink(path.c_str());
                 mkdir(path.c_str(), 0555);
                 return path;
             },
             0555},
        };
        for (const auto& c : cases) {
            const TempFolder fixture(TempFolder::Guard::fixtureRoot);
            const std::string path = fixture.file("a/file.tmp", "x");
            RowList list;
            list.rows = {rowFor(fixture, "a/file.tmp", true, 1)};
            const std::string survivor = c.change(path);
            FileDeletion deletion;
            DeletionPass pass(list, deletion);
            pass.Execute();
            QVERIFY2(pass.DeletedCount() == 0, c.what);
            QVERIFY2(pass.FailedFiles() == std::vector<std::string>{path}, c.what);
            QVERIFY2(list.Count() == 0, c.what);
            QVERIFY2(entryExists(survivor), c.what);
            QVERIFY2(permissionsOf(survivor) == c.mode, c.what);
        }
    }

    void fileHeldOpenElsewhereIsNotDeleted() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string path = fixture.file("app.lock", "x");
        QCOMPARE(chmod(path.c_str(), 0444), 0);
        RowList list;
        list.rows = {rowFor(fixture, "app.lock", true, 1)};
        {
            HeldOpen other(path);
            QVERIFY(other.holding());
            FileDeletion deletion;
            DeletionPass pass(list, deletion);
            pass.Execute();
            QCOMPARE(pass.DeletedCount(), 0);
            QCOMPARE(pass.FailedFiles(), std::vector<std::string>{path});
            QVERIFY(entryExists(path));
            QCOMPARE(permissionsOf(path), 0444);
        }
        // Once the other program has closed it, the file goes.
        list.rows = {rowFor(fixture, "app.lock", true, 1)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        pass.Execute();
        QCOMPARE(pass.DeletedCount(), 1);
        QVERIFY(!entryExists(path));
    }

    void hardLinkedFileKeepsItsModeUnderTheOtherName() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string path = fixture.file("a/file.tmp", "x");
        const std::string otherName = fixture.path("keep/file");
        fixture.folder("keep");
        QCOMPARE(link(path.c_str(), otherName.c_str()), 0);
        QCOMPARE(chmod(path.c_str(), 0444), 0);
        RowList list;
        list.rows = {rowFor(fixture, "a/file.tmp", true, 1)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        pass.Execute();
        QCOMPARE(pass.DeletedCount(), 1);
        QVERIFY(!entryExists(path));
        QVERIFY(entryExists(otherName));
        QCOMPARE(permissionsOf(otherName), 0444);
    }

    // A file system mounted over a listed folder after the search: the pass never enters it,
    // neither to delete what it holds nor to take a name missing there for a deleted file.
    void mountsMadeAfterTheSearchAreNotCrossed() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string underTmpfs = fixture.file("t/sub/file.tmp", "x");
        const std::string hiddenByEmptyTmpfs = fixture.file("e/sub/file.tmp", "x");
        const std::string underBind = fixture.file("b/file.tmp", "x");
        const std::string bindSource = fixture.file("other/file.tmp", "x");
        RowList list;
        list.rows = {rowForPath(underTmpfs, true, 1), rowForPath(hiddenByEmptyTmpfs, true, 1),
                     rowForPath(underBind, true, 1)};
        const auto result = inPrivateMountNamespace([&] {
            if (mount("tmpfs", fixture.path("t").c_str(), "tmpfs", 0, nullptr) != 0 ||
                mount("tmpfs", fixture.path("e").c_str(), "tmpfs", 0, nullptr) != 0 ||
                mount(fixture.path("other").c_str(), fixture.path("b").c_str(), nullptr, MS_BIND,
                      nullptr) != 0)
                _exit(2);
            // The other file systems' files at the listed paths.
            fixture.file("t/sub/file.tmp", "x");
            FileDeletion deletion;
            DeletionPass pass(list, deletion);
            pass.Execute();
            const bool reported =
                pass.DeletedCount() == 0 &&
                pass.FailedFiles() ==
                    std::vector<std::string>{underTmpfs, hiddenByEmptyTmpfs, underBind};
            return reported && entryExists(underTmpfs) && entryExists(underBind) &&
                   entryExists(bindSource);
        });
        if (result == Namespaced::unavailable)
            QSKIP("no private mount namespace here (needs root and unshare)");
        QVERIFY(result == Namespaced::passed);
        // The files under the mounts were never touched.
        QVERIFY(entryExists(underTmpfs));
        QVERIFY(entryExists(hiddenByEmptyTmpfs));
        QVERIFY(entryExists(underBind));
    }

    void deletesFilesDeeperThanPathMax() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const DeepFolders deep(fixture.folder("deep"), 5000);
        QVERIFY(deep.bottom().size() > PATH_MAX);
        RowList list;
        list.rows = {rowForPath(deep.makeFile("a.tmp"), true, 1),
                     rowForPath(deep.makeFile("b.tmp"), false, 1),
                     rowForPath(deep.makeFile("c.tmp"), true, 1)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        pass.Execute();
        QCOMPARE(pass.DeletedCount(), 2);
        QVERIFY(pass.FailedFiles().empty());
        QVERIFY(!deep.exists("a.tmp"));
        QVERIFY(deep.exists("b.tmp"));
        QVERIFY(!deep.exists("c.tmp"));
    }

    void everyRowUncheckedChangesNothing() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string file = fixture.file("a.tmp", "x");
        RowList list;
        list.rows = {rowFor(fixture, "a.tmp", false, 5), rowFor(fixture, "a.tmp", false, 5)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        int filesDone = 0;
        pass.onFileDone = [&](const DeletionPass::FileDone&) { ++filesDone; };
        pass.Execute();
        QCOMPARE(filesDone, 0);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(pass.DeletedCount(), 0);
        QCOMPARE(pass.FreedSize(), std::int64_t{0});
        QVERIFY(pass.FailedFiles().empty());
        QVERIFY(entryExists(file));
    }

    void survivorGetsItsExactModeBack() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string folder = fixture.folder("closed");
        const std::string file = fixture.file("closed/locked.tmp", "x");
        QCOMPARE(chmod(file.c_str(), 0444), 0);
        QCOMPARE(chmod(fixture.path().c_str(), 0755), 0);
        struct stat before;
        QCOMPARE(lstat(file.c_str(), &before), 0);
        // The file may be changed by its owner, but its folder refuses the removal.
        if (geteuid() == 0)
            QCOMPARE(
                chown(file.c_str(), velmaro::test::UnprivilegedId, velmaro::test::UnprivilegedId),
                0);
        else
            QCOMPARE(chmod(folder.c_str(), 0555), 0);
        QVERIFY(runUnprivileged([&] {
            RowList list;
            list.rows = {rowFor(fixture, "closed/locked.tmp", true, 9)};
            FileDeletion deletion;
            DeletionPass pass(list, deletion);
            pass.Execute();
            return pass.DeletedCount() == 0 && pass.FreedSize() == 0 &&
                   pass.FailedFiles() == std::vector<std::string>{file} && list.Count() == 0;
        }));
        struct stat after;
        QCOMPARE(lstat(file.c_str(), &after), 0);
        QCOMPARE(after.st_mode & 07777, 0444u);
        const bool modeWasChanged = after.st_ctim.tv_sec != before.st_ctim.tv_sec ||
                                    after.st_ctim.tv_nsec != before.st_ctim.tv_nsec;
        QVERIFY2(modeWasChanged, "the pass should have cleared READONLY and restored it");
    }

    void stopRequestEndsThePassAfterTheCurrentFile() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string first = fixture.file("1.tmp", "x");
        const std::string second = fixture.file("2.tmp", "x");
        RowList list;
        list.rows = {rowFor(fixture, "1.tmp", true, 1), rowFor(fixture, "2.tmp", true, 2)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        pass.onFileDone = [&](const DeletionPass::FileDone&) { pass.requestStop(); };
        pass.Execute();
        QCOMPARE(pass.DeletedCount(), 1);
        QCOMPARE(list.names(), std::vector<std::string>{"2.tmp"});
        QVERIFY(!entryExists(first));
        QVERIFY(entryExists(second));
    }

    // A move into the trash goes through the same rows and checks, counts what went once and
    // frees nothing; what the search did not list stays where it is.
    void trashMoveCountsTheFilesButFreesNothing() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string twice = fixture.file("a/twice.tmp", "x");
        const std::string replaced = fixture.file("a/replaced.tmp", "x");
        const std::string kept = fixture.file("a/kept.tmp", "x");
        RowList list;
        list.rows = {
            rowFor(fixture, "a/twice.tmp", true, 100), rowFor(fixture, "a/kept.tmp", false, 1),
            rowFor(fixture, "a/replaced.tmp", true, 20), rowFor(fixture, "a/twice.tmp", true, 100),
            rowFor(fixture, "a/gone.tmp", true, 7)};
        std::ofstream(replaced, std::ios::app) << "rewritten";
        velmaro::platform::Trash trash(fixture.path("data"), geteuid());
        TrashMove move(trash);
        DeletionPass pass(list, move);
        std::vector<DeletionPass::FileResult> results;
        pass.onFileDone = [&](const DeletionPass::FileDone& done) {
            results.push_back(done.Result);
        };
        pass.Execute();
        using Result = DeletionPass::FileResult;
        QCOMPARE(results, (std::vector<Result>{Result::gone, Result::failed, Result::countedEarlier,
                                               Result::gone}));
        QCOMPARE(pass.DeletedCount(), 2);
        QCOMPARE(pass.FreedSize(), std::int64_t{0});
        QCOMPARE(pass.FailedFiles(), std::vector<std::string>{replaced});
        QVERIFY(!entryExists(twice));
        QVERIFY(entryExists(fixture.path("data/Trash/files/twice.tmp")));
        QVERIFY(entryExists(replaced));
        QVERIFY(!entryExists(fixture.path("data/Trash/info/replaced.tmp.trashinfo")));
        QVERIFY(entryExists(kept));
    }

    // A preview changes nothing and tells what the deletion would do with the same rows.
    void previewChangesNothingAndForeseesTheDeletion() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string readOnly = fixture.file("a/locked.tmp", "x");
        QCOMPARE(chmod(readOnly.c_str(), 0444), 0);
        const std::string replaced = fixture.file("a/replaced.tmp", "x");
        const std::string closed = fixture.folder("closed");
        const std::string inClosed = fixture.file("closed/file.tmp", "x");
        QCOMPARE(chmod(fixture.path().c_str(), 0755), 0);
        const auto makeRows = [&] {
            RowList list;
            list.rows = {rowFor(fixture, "a/locked.tmp", true, 10),
                         rowFor(fixture, "a/replaced.tmp", true, 20),
                         rowFor(fixture, "a/gone.tmp", true, 7),
                         rowFor(fixture, "closed/file.tmp", true, 30),
                         rowFor(fixture, "a/locked.tmp", true, 10)};
            return list;
        };
        RowList previewed = makeRows();
        RowList deleted = makeRows();
        std::ofstream(replaced, std::ios::app) << "rewritten";
        // The passes run as a user who owns the tree but may not change one folder of it.
        if (geteuid() == 0) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(fixture.path()))
                QCOMPARE(lchown(entry.path().c_str(), velmaro::test::UnprivilegedId,
                                velmaro::test::UnprivilegedId),
                         0);
        }
        QCOMPARE(chmod(closed.c_str(), 0555), 0);
        struct stat before;
        QCOMPARE(lstat(readOnly.c_str(), &before), 0);

        const auto totals = [](DeletionPass& pass) {
            return std::tuple(pass.DeletedCount(), pass.FreedSize(), pass.FailedFiles());
        };
        std::tuple<int, std::int64_t, std::vector<std::string>> foreseen;
        QVERIFY(runUnprivileged([&] {
            DeletionPreview preview;
            DeletionPass pass(previewed, preview);
            pass.Execute();
            foreseen = totals(pass);
            struct stat after;
            // Not even the attributes changed: the file's status is as it was.
            return lstat(readOnly.c_str(), &after) == 0 &&
                   after.st_ctim.tv_sec == before.st_ctim.tv_sec &&
                   after.st_ctim.tv_nsec == before.st_ctim.tv_nsec && entryExists(inClosed) &&
                   foreseen == std::tuple(2, std::int64_t{17},
                                          std::vector<std::string>{replaced, inClosed});
        }));
        QVERIFY(runUnprivileged([&] {
            FileDeletion deletion;
            DeletionPass pass(deleted, deletion);
            pass.Execute();
            return totals(pass) ==
                   std::tuple(2, std::int64_t{17}, std::vector<std::string>{replaced, inClosed});
        }));
        QVERIFY(!entryExists(readOnly));
    }

    void totalsSurviveAnEscapingError() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        fixture.file("1.tmp", "x");
        fixture.file("2.tmp", "x");
        RowList list;
        list.rows = {rowFor(fixture, "1.tmp", true, 10), rowFor(fixture, "2.tmp", true, 20)};
        FileDeletion deletion;
        DeletionPass pass(list, deletion);
        pass.onFileDone = [](const DeletionPass::FileDone&) {
            throw std::runtime_error("event handler failed");
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, pass.Execute());
        QCOMPARE(pass.DeletedCount(), 1);
        QCOMPARE(pass.FreedSize(), std::int64_t{10});
        QCOMPARE(list.Count(), 1);
    }
};

QTEST_GUILESS_MAIN(DeletionPassTest)
#include "DeletionPassTest.moc"
