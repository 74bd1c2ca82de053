// The duplicate test of the result list over rows already in the list and rows still waiting
// for their batch, and the rows' contents once in the list.

#include "workflow/ResultListFeed.h"

#include "workflow/ResultListRows.h"
#include "workflow/ResultRow.h"

#include <QTest>
#include <QTreeWidget>

using velmaro::ResultListFeed;
using velmaro::ResultRow;

namespace {

ResultRow row(const char* name, const char* folder = "/d/") {
    return {
        folder, name, 7, {}, {QString::fromLatin1(name), QString::fromLatin1(folder), "7 b", ""}};
}

} // namespace

class ResultListFeedTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Names before "|" are in the list, after it still waiting; then `offered` is added.
    void lastTwoRows_data() {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("waiting");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<bool>("accepted");
        const auto add = [](const char* tag, QStringList listed, QStringList waiting,
                            const char* offered, bool accepted) {
            QTest::newRow(tag) << listed << waiting << QString::fromLatin1(offered) << accepted;
        };
        add("empty", {}, {}, "a", true);
        add("last listed", {"x", "a"}, {}, "a", false);
        add("second-to-last listed", {"a", "x"}, {}, "a", false);
        add("third-to-last listed", {"a", "x", "y"}, {}, "a", true);
        add("last waiting", {"x"}, {"a"}, "a", false);
        add("listed before one waiting", {"a"}, {"x"}, "a", false);
        add("listed before two waiting", {"a"}, {"x", "y"}, "a", true);
        add("second-to-last waiting", {}, {"a", "x"}, "a", false);
        add("letter case differs", {"A"}, {}, "a", true);
    }
    void lastTwoRows() {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, waiting);
        QFETCH(QString, offered);
        QFETCH(bool, accepted);
        QTreeWidget list;
        ResultListFeed feed(list);
        for (const QString& name : listed)
            QVERIFY(feed.add(row(qPrintable(name))));
        feed.flush();
        for (const QString& name : waiting)
            QVERIFY(feed.add(row(qPrintable(name))));
        QCOMPARE(list.topLevelItemCount(), listed.size());

        QCOMPARE(feed.add(row(qPrintable(offered))), accepted);
        feed.flush();
        QCOMPARE(list.topLevelItemCount(), listed.size() + waiting.size() + (accepted ? 1 : 0));
    }

    void sameNameInOtherFolderIsAnotherFile() {
        QTreeWidget list;
        ResultListFeed feed(list);
        QVERIFY(feed.add(row("a", "/d/")));
        QVERIFY(feed.add(row("a", "/e/")));
    }

    void waitingRowsEnterListWithinFlushInterval() {
        QTreeWidget list;
        ResultListFeed feed(list);
        QVERIFY(feed.add(row("a")));
        QVERIFY(feed.add(row("b")));
        QCOMPARE(list.topLevelItemCount(), 0);
        QTRY_COMPARE(list.topLevelItemCount(), 2);
        const QTreeWidgetItem& second = *list.topLevelItem(1);
        QCOMPARE(second.text(0), QStringLiteral("b"));
        QCOMPARE(second.checkState(0), Qt::Checked);
        QCOMPARE(velmaro::ResultRowName(second), std::string("b"));
        QCOMPARE(velmaro::ResultRowFolder(second), std::string("/d/"));
        QCOMPARE(velmaro::ResultRowSize(second), std::int64_t(7));
    }

    // The deletion pass reads a row's bytes, never its display text, and removes rows.
    void deletionSeesRawBytes() {
        QTreeWidget list;
        ResultListFeed feed(list);
        ResultRow odd{"/d\xff/", "n\xfe.tmp", 12, {}, {"n\uFFFD.tmp", "/d\uFFFD/", "12 b", ""}};
        QVERIFY(feed.add(row("a")));
        QVERIFY(feed.add(odd));
        feed.flush();
        list.topLevelItem(0)->setCheckState(0, Qt::Unchecked);

        velmaro::ResultListRows rows(list);
        QCOMPARE(rows.Count(), 2);
        QVERIFY(!rows.isChecked(0));
        QVERIFY(rows.isChecked(1));
        QCOMPARE(rows.folder(1), std::string("/d\xff/"));
        QCOMPARE(rows.name(1), std::string("n\xfe.tmp"));
        QCOMPARE(rows.size(1), std::int64_t(12));
        rows.removeRow(0);
        QCOMPARE(rows.Count(), 1);
        QCOMPARE(rows.name(0), std::string("n\xfe.tmp"));
    }
};

QTEST_MAIN(ResultListFeedTest)
#include "ResultListFeedTest.moc"
