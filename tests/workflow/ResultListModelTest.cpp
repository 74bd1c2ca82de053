// SPDX-License-Identifier: GPL-3.0-or-later
// The result list's model: its rows keep the bytes, numbers and identity the search reported,
// show texts made when painted, and lose the rows a deletion pass attempted in one step.

#include "workflow/ResultListModel.h"

#include "ListedFile.h"
#include "TempFolder.h"
#include "cleaner/DeletionPass.h"
#include "cleaner/FileDeletion.h"
#include "platform/CodePage.h"
#include "workflow/ResultListRows.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <string>
#include <vector>

using velmaro::ResultListModel;
using velmaro::ResultListRows;
using velmaro::ResultRowStore;
using velmaro::TFileDetails;
using velmaro::test::entryExists;
using velmaro::test::listedFile;
using velmaro::test::TempFolder;

namespace {

TFileDetails file(const std::string& folder, const std::string& name, std::int64_t size = 7) {
    TFileDetails details;
    details.Location = folder;
    details.Name = name;
    details.Size = size;
    return details;
}

// Lists Files in the model, Batch rows at a time, as a search hands them over.
void list(ResultListModel& model, const std::vector<TFileDetails>& files, std::size_t batch) {
    ResultRowStore rows;
    for (const TFileDetails& details : files) {
        rows.append(details);
        if (rows.size() == batch) {
            model.append(rows);
            rows.clear();
        }
    }
    model.append(rows);
}

std::vector<std::string> names(const ResultRowStore& rows) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < rows.size(); ++i)
        result.emplace_back(rows.name(i));
    return result;
}

QString shown(const ResultListModel& model, int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

} // namespace

class ResultListModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        QVERIFY(velmaro::platform::CodePage::select("UTF-8"));
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    void cleanup() { QVERIFY(velmaro::platform::CodePage::select("UTF-8")); }

    void rowTexts_data() {
        QTest::addColumn<QByteArray>("codePage");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<double>("created");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("not valid UTF-8")
            << QByteArray("UTF-8") << QByteArray("/d\xff/") << QByteArray("bad\xfe.tmp") << 45000.5
            << QStringList{"bad\uFFFD.tmp", "/d\uFFFD/", "1,5 Kb", "15.03.2023 12:00:00"};
        QTest::newRow("CP1251, created at midnight")
            << QByteArray("CP1251") << QByteArray("/\xc4/") << QByteArray("\xe0\xe1\xc2.tmp")
            << 45000.0 << QStringList{"абВ.tmp", "/Д/", "1,5 Kb", "15.03.2023"};
    }
    void rowTexts() {
        QFETCH(QByteArray, codePage);
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, name);
        QFETCH(double, created);
        QFETCH(QStringList, texts);
        QVERIFY(velmaro::platform::CodePage::select(codePage.toStdString()));
        ResultListModel model;
        TFileDetails details = file(folder.toStdString(), name.toStdString(), 1536);
        details.CreatedTime = created;
        details.ModifiedTime = created + 1; // the date column shows the creation time
        list(model, {details}, 1);

        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 4);
        for (int column = 0; column < 4; ++column)
            QCOMPARE(shown(model, 0, column), texts[column]);
        QCOMPARE(model.rows().name(0), name.toStdString());
        QCOMPARE(model.rows().folder(0), folder.toStdString());
        QCOMPARE(model.rows().fileSize(0), std::int64_t(1536));
        const QStringList headers = {"Имя", "Расположение", "Размер", "Дата"};
        for (int column = 0; column < 4; ++column)
            QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                     headers[column]);
    }

    // A folder's bytes are kept once per run of rows, also when a run spans two batches or a
    // folder comes back later; every row keeps its own identity.
    void foldersAndIdentitiesAcrossBatches() {
        std::vector<TFileDetails> files;
        const char* const folders[] = {"/a/", "/a/", "/a/", "/b/", "/a/", "/c/long/folder/"};
        for (std::size_t i = 0; i < std::size(folders); ++i) {
            const auto n = static_cast<std::int64_t>(i);
            TFileDetails details = file(folders[i], "f" + std::to_string(i), 10 + n);
            details.Identity = {1 + i, 100 + i, 20 + i, {1000 + n, 7}, {2000 + n, 9}, i % 2 == 0};
            files.push_back(details);
        }
        for (std::size_t batch : {1, 2, 4, 6}) {
            ResultListModel model;
            list(model, files, batch);
            QCOMPARE(model.rowCount(), 6);
            for (std::size_t i = 0; i < files.size(); ++i) {
                QCOMPARE(model.rows().folder(i), files[i].Location);
                QCOMPARE(model.rows().name(i), files[i].Name);
                QCOMPARE(model.rows().fileSize(i), files[i].Size);
                QVERIFY(model.rows().identity(i).sameFile(files[i].Identity));
                QCOMPARE(model.rows().identity(i).hasBirth, files[i].Identity.hasBirth);
                QCOMPARE(model.rows().identity(i).birth, files[i].Identity.birth);
            }
        }
    }

    // Rows are checked when added; the view's check box changes the row through setData.
    void checkBoxes() {
        ResultListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        list(model, {file("/d/", "a"), file("/d/", "b")}, 2);
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(first.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(model.flags(first) & Qt::ItemIsUserCheckable);
        QVERIFY(!(model.flags(first) & Qt::ItemIsEditable));
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable));
        QVERIFY(!model.index(0, 1).data(Qt::CheckStateRole).isValid());

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(first, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        QVERIFY(!model.rows().isChecked(0));
        QVERIFY(model.rows().isChecked(1));
        QVERIFY(!model.setData(model.index(0, 1), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(first, QStringLiteral("x"), Qt::DisplayRole));
    }

    // The pass walks the rows as the deletion pass does: an unchecked row is passed, a checked
    // one removed. The model and its views see nothing until finish(), then one reset that
    // leaves the unchecked rows in order; the removal of an earlier row works too.
    void removalInOneStep_data() {
        QTest::addColumn<QString>("checks");    // one letter a row: x checked, - unchecked
        QTest::addColumn<int>("removeEarlier"); // a passed row removed afterwards, or -1
        QTest::addColumn<QString>("left");
        QTest::newRow("all checked") << "xxxx" << -1 << "";
        QTest::newRow("none checked") << "----" << -1 << "0123";
        QTest::newRow("mixed") << "x-xx--x-" << -1 << "1457";
        QTest::newRow("an earlier row too") << "-x-x-" << 1 << "04";
    }
    void removalInOneStep() {
        QFETCH(QString, checks);
        QFETCH(int, removeEarlier);
        QFETCH(QString, left);
        ResultListModel model;
        std::vector<TFileDetails> files;
        for (int i = 0; i < checks.size(); ++i)
            files.push_back(file("/d/", std::to_string(i)));
        list(model, files, 3);
        for (int i = 0; i < checks.size(); ++i)
            model.setChecked(i, checks[i] == u'x');
        QTreeView view;
        view.setModel(&model);
        QCOMPARE(shown(model, 0, 0), QStringLiteral("0")); // a text kept for row 0
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

        {
            ResultListRows rows(model);
            int row = 0;
            while (row < rows.Count()) {
                if (!rows.isChecked(row)) {
                    ++row;
                    continue;
                }
                rows.removeRow(row);
                QCOMPARE(model.rowCount(), checks.size());
            }
            QCOMPARE(row, rows.Count());
            if (removeEarlier >= 0) {
                QCOMPARE(rows.name(removeEarlier), std::to_string(2));
                rows.removeRow(removeEarlier);
            }
            QCOMPARE(rows.Count(), left.size());
            for (int i = 0; i < left.size(); ++i)
                QCOMPARE(rows.name(i), std::string(1, left[i].toLatin1()));
            QCOMPARE(reset.count(), 0);
            rows.finish();
            QCOMPARE(rows.Count(), left.size());
        }
        QCOMPARE(reset.count(), left.size() == checks.size() ? 0 : 1);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(model.rowCount(), left.size());
        QStringList texts;
        for (int i = 0; i < model.rowCount(); ++i)
            texts.append(shown(model, i, 0));
        QCOMPARE(texts.join(QString()), left);
    }

    // The real pass over the model: checked and unchecked rows, a file listed twice, a file
    // gone meanwhile. Every checked row is attempted and leaves the list; the unchecked rows
    // stay in their order.
    void deletionPassOverTheModel() {
        const TempFolder fixture(TempFolder::Guard::fixtureRoot);
        const std::string twice = fixture.file("a/twice.tmp", std::string(100, 'x'));
        const std::string kept = fixture.file("a/kept.tmp", "x");
        const std::string other = fixture.file("b/other.tmp", std::string(20, 'x'));
        const std::string alsoKept = fixture.file("b/also-kept.tmp", "x");
        ResultListModel model;
        list(model,
             {listedFile(twice), listedFile(kept), listedFile(fixture.path("a/gone.tmp"), 7),
              listedFile(twice), listedFile(alsoKept), listedFile(other)},
             4);
        model.setChecked(1, false);
        model.setChecked(4, false);

        ResultListRows rows(model);
        velmaro::FileDeletion deletion;
        velmaro::DeletionPass pass(rows, deletion);
        int filesDone = 0;
        pass.onFileDone = [&](const velmaro::DeletionPass::FileDone&) { ++filesDone; };
        pass.Execute();
        rows.finish();

        QCOMPARE(filesDone, 4);
        QCOMPARE(names(model.rows()), (std::vector<std::string>{"kept.tmp", "also-kept.tmp"}));
        QVERIFY(!model.rows().isChecked(0));
        QCOMPARE(model.rows().folder(1), fixture.path("b/"));
        QVERIFY(!entryExists(twice));
        QVERIFY(!entryExists(other));
        QVERIFY(entryExists(kept));
        QVERIFY(entryExists(alsoKept));
    }

    void clearFreesEveryRow() {
        ResultListModel model;
        list(model, {file("/d/", "a"), file("/e/", "b")}, 2);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.clear();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.rows().byteCount(), std::size_t(0));
        list(model, {file("/f/", "c")}, 1);
        QCOMPARE(shown(model, 0, 0), QStringLiteral("c"));
        QCOMPARE(shown(model, 0, 1), QStringLiteral("/f/"));
    }
};

QTEST_MAIN(ResultListModelTest)
#include "ResultListModelTest.moc"
