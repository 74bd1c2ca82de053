#include "workflow/DeletionPass.h"

#include "FixtureFolder.h"
#include "Unprivileged.h"
#include "workflow/DeletionRows.h"

#include <QTest>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using velmaro::DeletionPass;
using velmaro::test::entryExists;
using velmaro::test::FixtureFolder;
using velmaro::test::permissionsOf;
using velmaro::test::runUnprivileged;

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

// A row for the file at relative below fixture, split into folder and name.
Row rowFor(const FixtureFolder& fixture, const std::string& relative, bool checked,
           std::int64_t size) {
    const std::string path = fixture / relative;
    const std::size_t slash = path.rfind('/');
    return {checked, path.substr(0, slash + 1), path.substr(slash + 1), size};
}

} // namespace

class DeletionPassTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deletesCheckedRowsAndKeepsUncheckedOnesInOrder() {
        FixtureFolder fixture;
        FixtureFolder outside(FixtureFolder::Guard::unregistered);
        const std::string twice = fixture.makeFile("a/twice.tmp");
        const std::string kept = fixture.makeFile("a/kept.tmp");
        const std::string readOnly = fixture.makeFile("a/locked.tmp");
        QCOMPARE(chmod(readOnly.c_str(), 0444), 0);
        const std::string alsoKept = fixture.makeFile("b/also-kept.tmp");
        const std::string swapped = fixture.makeFile("c/sub/swapped.tmp");
        const std::string victim = outside.makeFile("sub/swapped.tmp");
        QCOMPARE(chmod(victim.c_str(), 0444), 0);
        // After the search: one file removed by someone else, one folder replaced by a link.
        const Row removedMeanwhile = rowFor(fixture, "a/gone.tmp", true, 7);
        QCOMPARE(rename((fixture / "c/sub").c_str(), (fixture / "c/old").c_str()), 0);
        QCOMPARE(symlink((outside / "sub").c_str(), (fixture / "c/sub").c_str()), 0);
        // A row outside the fixture roots: the guard refuses it; a link to a folder that
        // survives must not pass for the folder that would mean the file is gone.
        const std::string refusedLink = outside / "folder-link.tmp";
        QCOMPARE(symlink(outside.path().c_str(), refusedLink.c_str()), 0);
        const Row outsideRow = rowFor(outside, "folder-link.tmp", true, 50);

        RowList list;
        list.rows = {rowFor(fixture, "a/twice.tmp", true, 100),
                     rowFor(fixture, "a/kept.tmp", false, 1000),
                     rowFor(fixture, "a/locked.tmp", true, 20),
                     removedMeanwhile,
                     rowFor(fixture, "a/twice.tmp", true, 100),
                     rowFor(fixture, "b/also-kept.tmp", false, 1000),
                     rowFor(fixture, "c/sub/swapped.tmp", true, 3),
                     outsideRow};
        DeletionPass pass(list);
        int filesDone = 0;
        pass.onFileDone = [&] { ++filesDone; };
        pass.Execute();

        QCOMPARE(filesDone, 6);
        QCOMPARE(list.names(), (std::vector<std::string>{"kept.tmp", "also-kept.tmp"}));
        QCOMPARE(pass.DeletedCount(), 4);
        QCOMPARE(pass.FreedSize(), std::int64_t{100 + 20 + 7 + 100});
        QCOMPARE(pass.FailedFiles(), (std::vector<std::string>{swapped, refusedLink}));
        QVERIFY(entryExists(refusedLink));
        QVERIFY(!entryExists(twice));
        QVERIFY(!entryExists(readOnly));
        QVERIFY(entryExists(kept));
        QVERIFY(entryExists(alsoKept));
        QVERIFY(entryExists(victim));
        QCOMPARE(permissionsOf(victim), 0444);
    }

    void everyRowUncheckedChangesNothing() {
        FixtureFolder fixture;
        const std::string file = fixture.makeFile("a.tmp");
        RowList list;
        list.rows = {rowFor(fixture, "a.tmp", false, 5), rowFor(fixture, "a.tmp", false, 5)};
        DeletionPass pass(list);
        int filesDone = 0;
        pass.onFileDone = [&] { ++filesDone; };
        pass.Execute();
        QCOMPARE(filesDone, 0);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(pass.DeletedCount(), 0);
        QCOMPARE(pass.FreedSize(), std::int64_t{0});
        QVERIFY(pass.FailedFiles().empty());
        QVERIFY(entryExists(file));
    }

    void survivorGetsItsExactModeBack() {
        FixtureFolder fixture;
        const std::string folder = fixture.makeFolder("closed");
        const std::string file = fixture.makeFile("closed/locked.tmp");
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
            DeletionPass pass(list);
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
        FixtureFolder fixture;
        const std::string first = fixture.makeFile("1.tmp");
        const std::string second = fixture.makeFile("2.tmp");
        RowList list;
        list.rows = {rowFor(fixture, "1.tmp", true, 1), rowFor(fixture, "2.tmp", true, 2)};
        DeletionPass pass(list);
        pass.onFileDone = [&] { pass.requestStop(); };
        pass.Execute();
        QCOMPARE(pass.DeletedCount(), 1);
        QCOMPARE(list.names(), std::vector<std::string>{"2.tmp"});
        QVERIFY(!entryExists(first));
        QVERIFY(entryExists(second));
    }

    void totalsSurviveAnEscapingError() {
        FixtureFolder fixture;
        fixture.makeFile("1.tmp");
        fixture.makeFile("2.tmp");
        RowList list;
        list.rows = {rowFor(fixture, "1.tmp", true, 10), rowFor(fixture, "2.tmp", true, 20)};
        DeletionPass pass(list);
        pass.onFileDone = [] { throw std::runtime_error("event handler failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, pass.Execute());
        QCOMPARE(pass.DeletedCount(), 1);
        QCOMPARE(pass.FreedSize(), std::int64_t{10});
        QCOMPARE(list.Count(), 1);
    }
};

QTEST_GUILESS_MAIN(DeletionPassTest)
#include "DeletionPassTest.moc"
