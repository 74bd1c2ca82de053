// SPDX-License-Identifier: GPL-3.0-or-later
// What the program loads at start so that its windows read as designed: Qt's own texts in
// Russian and the font every column is sized for.

#include "WindowFixture.h"
#include "shell/DesignFont.h"
#include "shell/ElidedCellToolTip.h"
#include "shell/Form_Main.h"
#include "shell/QtTranslation.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <memory>

class DesktopTextsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void qtTextsAreRussian() {
        QVERIFY2(velmaro::InstallQtTranslation(), "qtbase_ru.qm (qt6-translations-l10n) missing");

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Сохранить как"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                 QStringLiteral("Перейти к:"));
        QStringList buttons;
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            buttons.append(button->text());
        QVERIFY2(buttons.contains(QStringLiteral("Отмена")), qPrintable(buttons.join(", ")));

        // The about and report windows' read-only text boxes.
        QPlainTextEdit text;
        text.setReadOnly(true);
        text.setPlainText(QStringLiteral("Бета."));
        const std::unique_ptr<QMenu> menu(text.createStandardContextMenu());
        QStringList items;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                items.append(action->text());
        QCOMPARE(items, (QStringList{QStringLiteral("&Копировать\tCtrl+C"),
                                     QStringLiteral("Выделить всё\tCtrl+A")}));
    }

    void designFont() {
        QVERIFY2(velmaro::LoadDesignFont(), "Tahoma (fonts-wine) missing");
        QVERIFY(QFontDatabase::styles(QStringLiteral("Tahoma")).contains(QStringLiteral("Bold")));

        WindowFixture fixture;
        velmaro::TForm_Main& window = fixture.make();
        QCOMPARE(QFontInfo(window.sListView_CrExt->font()).family(), QStringLiteral("Tahoma"));
        QCOMPARE(QFontInfo(window.sLabel_Hint->font()).family(), QStringLiteral("Tahoma"));

        // A creation time fits the 120 pixels of "Дата" in the window's font, as designed; a
        // wider font cuts its seconds.
        QTreeWidget dates;
        dates.setFont(window.font());
        dates.setRootIsDecorated(false);
        dates.setColumnCount(2);
        dates.header()->setStretchLastSection(false);
        dates.setColumnWidth(0, 120);
        new QTreeWidgetItem(&dates, {QStringLiteral("11.12.2026 12:47:59")});
        dates.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dates));
        QVERIFY(!velmaro::ElidedCellToolTip::textCut(dates, dates.model()->index(0, 0)));
        window.close();
    }

    void cutCellsOfTheWindowsListsShowWhole() {
        WindowFixture fixture(
            {{"/media/a mount point far too long to fit", "/media/a mount point far too long/",
              velmaro::platform::DriveKind::Fixed}});
        velmaro::TForm_Main& window = fixture.start();
        for (const char* name : {"sListView_CrExt", "sListView_Location", "sListView_Result"}) {
            const auto* list = window.findChild<QAbstractItemView*>(QLatin1String(name));
            QVERIFY2(list && list->findChild<velmaro::ElidedCellToolTip*>(), name);
        }
        // Even in Tahoma a check box and "mscreate.dir" need more than the 70 pixels of "Тип".
        QCOMPARE(toolTipOver(*window.sListView_CrExt, QStringLiteral("mscreate.dir")),
                 QStringLiteral("mscreate.dir"));
        const QString title = window.sListView_Location->topLevelItem(0)->text(0);
        QCOMPARE(toolTipOver(*window.sListView_Location, title), title);
        window.close();
    }

private:
    // The tooltip list shows while the pointer rests on the first cell whose text is text.
    static QString toolTipOver(QTreeWidget& list, const QString& text) {
        const QList<QTreeWidgetItem*> rows = list.findItems(text, Qt::MatchExactly);
        if (rows.isEmpty())
            return QStringLiteral("<no row %1>").arg(text);
        const QModelIndex cell = list.model()->index(list.indexOfTopLevelItem(rows[0]), 0);
        list.scrollTo(cell);
        const QPoint centre = list.visualRect(cell).center();
        QHelpEvent help(QEvent::ToolTip, centre, list.viewport()->mapToGlobal(centre));
        QApplication::sendEvent(list.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaro 2"));
    DesktopTextsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DesktopTextsTest.moc"
