// SPDX-License-Identifier: GPL-3.0-or-later
// Tooltips with the whole text of list cells that are too narrow for it.

#include "shell/ElidedCellToolTip.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

class ElidedCellToolTipTest : public QObject {
    Q_OBJECT

    // The tooltip the list shows when the pointer rests on the first cell of row.
    static QString toolTipOver(QTreeWidget& list, int row) {
        const QRect cell = list.visualRect(list.model()->index(row, 0));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        list.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

private Q_SLOTS:
    void init() {
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void toolTips_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("checkBox");
        QTest::addColumn<QString>("ownToolTip");
        QTest::addColumn<QString>("shown");
        const QString name = QStringLiteral("mscreate.dir");
        QTest::newRow("fits: none") << name << false << QString() << QString();
        // The column is as wide as the text with its margins: a check box cuts it.
        QTest::newRow("cut by its check box: whole text") << name << true << QString() << name;
        const QString longName = QStringLiteral("/media/stick/a mount point far too long");
        QTest::newRow("cut: whole text") << longName << false << QString() << longName;
        QTest::newRow("the model's own tooltip is kept")
            << longName << false << QStringLiteral("own") << QStringLiteral("own");
    }

    void toolTips() {
        QFETCH(QString, text);
        QFETCH(bool, checkBox);
        QFETCH(QString, ownToolTip);
        QFETCH(QString, shown);
        QTreeWidget list;
        list.setColumnCount(2);
        list.setRootIsDecorated(false);
        list.header()->setStretchLastSection(false);
        auto* item = new QTreeWidgetItem(&list, {text, QStringLiteral("x")});
        if (checkBox)
            item->setCheckState(0, Qt::Checked);
        if (!ownToolTip.isEmpty())
            item->setToolTip(0, ownToolTip);
        const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list);
        list.setColumnWidth(0,
                            list.fontMetrics().horizontalAdvance(QStringLiteral("mscreate.dir")) +
                                2 * (margin + 1));
        list.resize(400, 200);
        velmaro::ElidedCellToolTip::install(&list);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(toolTipOver(list, 0), shown);
    }
};

QTEST_MAIN(ElidedCellToolTipTest)

#include "ElidedCellToolTipTest.moc"
