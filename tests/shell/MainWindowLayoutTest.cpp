// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls as the user meets them after a first start.

#include "WindowFixture.h"
#include "cleaner/CleanerPreset.h"
#include "engine/FindFile.h"
#include "shell/Form_Main.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <memory>

using velmaro::TForm_Main;

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fixture;
    TForm_Main* m_window = nullptr;

    QWidget* control(const QString& name) const { return m_window->findChild<QWidget*>(name); }

private Q_SLOTS:
    void initTestCase() {
        QApplication::setApplicationName(QStringLiteral("Velmaro 2"));
        m_fixture = std::make_unique<WindowFixture>();
        m_window = &m_fixture->start();
        QCOMPARE(m_window->frameGeometry().size(), QSize(800, 600));
    }

    void cleanupTestCase() {
        m_fixture->destroyWindow();
        QVERIFY2(m_fixture->prompts().messages.isEmpty(), "no error box during the test");
    }

    void controls_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        const auto row = [](const char* name, const char* kind, QRect place, const char* text,
                            bool enabled, bool visible) {
            QTest::newRow(name) << QString::fromLatin1(kind) << place << QString::fromUtf8(text)
                                << enabled << visible;
        };
        // Places are in the client area, 796 x 596 inside the 800 x 600 frame of the offscreen
        // platform. A hidden notebook page has no place.
        row("sToolBar", "QFrame", {0, 0, 796, 70}, "", true, true);
        row("ToolButton_StartFind", "QToolButton", {0, 0, 71, 70}, "Начать поиск", true, true);
        row("ToolButton_StopFind", "QToolButton", {71, 0, 71, 70}, "Прервать поиск", false, true);
        row("ToolButton_Delete", "QToolButton", {142, 0, 71, 70}, "Удалить файлы", false, true);
        row("ToolButton_ModeQuick", "QToolButton", {221, 0, 71, 70}, "", true, true);
        row("ToolButton3", "QToolButton", {300, 0, 71, 70}, "", false, true);
        row("ToolButton_Info", "QToolButton", {379, 0, 71, 70}, "", true, true);
        row("sPanel_Hint", "QFrame", {450, 0, 185, 70}, "", true, true);
        row("sLabel_Hint", "QLabel", {451, 1, 183, 68}, "Режим: полная очистка.", true, true);
        row("ToolButton_Quit", "QToolButton", {635, 0, 71, 70}, "", true, true);
        row("sSplitter_Main", "QSplitter", {0, 70, 796, 507}, "", true, true);
        row("sNotebook_Cr", "QStackedWidget", {0, 70, 224, 507}, "", true, true);
        row("sListView_CrExt", "QTreeWidget", {0, 70, 224, 375}, "", true, true);
        row("sListView_Location", "QTreeWidget", {0, 449, 224, 128}, "", true, true);
        row("sListView_QC", "QTreeWidget", {}, "", false, false);
        row("sListView_Result", "QTreeView", {228, 70, 568, 507}, "", true, true);
        row("sStatusBar", "QStatusBar", {0, 577, 796, 19}, "", true, true);
        row("sProgressBar_St", "QProgressBar", {0, 579, 224, 16}, "", true, false);
        row("sLabel_DirF", "QLabel", {230, 579, 551, 13}, "", true, true);
        // Centred where the 792 x 567 design has it: (292 + 212.5) / 792 and (239 + 33) / 567
        // of the design's client area.
        row("sPanel_Delete", "QFrame", {295, 253, 425, 66}, "", true, false);
        row("sLabel_Delete", "QLabel", {295 + 62, 253 + 8, 355, 17}, "Удаление", true, false);
        row("sProgressBar_Delete", "QProgressBar", {295 + 62, 253 + 36, 355, 20}, "", true, false);
    }

    void controls() {
        QFETCH(QString, kind);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        QWidget* widget = control(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
        if (!place.isNull())
            QCOMPARE(QRect(widget->mapTo(m_window, QPoint(0, 0)), widget->size()), place);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else if (qobject_cast<QToolButton*>(widget))
            QCOMPARE(widget->toolTip(), text);
        QCOMPARE(widget->isEnabled(), enabled);
        QCOMPARE(widget->isVisible(), visible);
    }

    void toolButtonsShowOnlyTheirImage() {
        for (auto* button : m_window->sToolBar->findChildren<QToolButton*>()) {
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QCOMPARE(button->iconSize(), QSize(64, 64));
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
        }
        QVERIFY(m_window->ToolButton_ModeQuick->isCheckable());
        QVERIFY(!m_window->ToolButton_ModeQuick->isChecked());
    }

    void fonts() {
        QCOMPARE(m_window->font().pixelSize(), 11);
        QCOMPARE(m_window->font().families().value(0), QStringLiteral("Tahoma"));
        QVERIFY(m_window->sLabel_Hint->font().bold());
        QCOMPARE(m_window->sLabel_Delete->font().pixelSize(), 13);
        QVERIFY(m_window->sLabel_Delete->font().bold());
        QVERIFY(m_window->sLabel_Hint->wordWrap());
        QCOMPARE(m_window->sLabel_Hint->alignment(), Qt::AlignCenter);
    }

    void columns_data() {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QList<int>>("widths");
        // The lists are 2 pixels wider than their viewports (the frame); -1 stands for the rest
        // of the viewport, which the catalogue's scroll bar narrows.
        QTest::newRow("sListView_CrExt") << QStringList{"Тип", "Описание"} << QList<int>{70, -1};
        QTest::newRow("sListView_Location") << QStringList{"Места для поиска"} << QList<int>{222};
        QTest::newRow("sListView_QC") << QStringList{"Быстрая очистка"} << QList<int>{222};
        // 568 - 2 wide: 70 + 120 for the fixed columns, 56 above the minimums shared evenly.
        QTest::newRow("sListView_Result") << QStringList{"Имя", "Расположение", "Размер", "Дата"}
                                          << QList<int>{148, 228, 70, 120};
    }

    void columns() {
        QFETCH(QStringList, headers);
        QFETCH(QList<int>, widths);
        auto* list = m_window->findChild<QTreeView*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(list);
        QCOMPARE(list->model()->columnCount(), headers.size());
        QList<int> shown;
        int rest = list->viewport()->width();
        for (int i = 0; i < headers.size(); ++i) {
            QCOMPARE(list->model()->headerData(i, Qt::Horizontal).toString(), headers[i]);
            shown.append(list->header()->sectionSize(i));
            if (widths[i] >= 0)
                rest -= widths[i];
        }
        std::replace(widths.begin(), widths.end(), -1, rest);
        if (list->isVisible())
            QCOMPARE(shown, widths);
        QVERIFY(!list->header()->sectionsClickable());
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void resultColumnsKeepTheirMinimum() {
        m_window->sListView_Result->setFixedWidth(300);
        QTest::qWait(0);
        QCOMPARE(m_window->sListView_Result->header()->sectionSize(0), 120);
        QCOMPARE(m_window->sListView_Result->header()->sectionSize(1), 200);
        m_window->sListView_Result->setMinimumWidth(0);
        m_window->sListView_Result->setMaximumWidth(QWIDGETSIZE_MAX);
    }

    void actions_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Act_StartFind")
            << "Find"
            << "Начать поиск"
            << "Начать поиск" << QKeySequence(QStringLiteral("Ctrl+S")) << true;
        QTest::newRow("Act_StopFind")
            << "Find"
            << "Прервать поиск"
            << "Прервать поиск" << QKeySequence(QStringLiteral("Ctrl+D")) << false;
        QTest::newRow("Act_Delete") << "Delete"
                                    << "Удалить"
                                    << "Удалить файлы" << QKeySequence() << false;
        QTest::newRow("Act_QuickClear")
            << "Mode"
            << "Быстрый режим"
            << "Бытрый режим очистки" << QKeySequence(QStringLiteral("Ctrl+Q")) << true;
    }

    void actions() {
        QFETCH(QString, category);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, enabled);
        auto* action =
            m_window->ActionList->findChild<QAction*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(action);
        QCOMPARE(action->property("category").toString(), category);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->toolTip(), hint);
        QCOMPARE(action->shortcut(), shortcut);
        QCOMPARE(action->isEnabled(), enabled);
    }

    void quickClearIsWiredToNothing() {
        QVERIFY(!m_window->actions().contains(m_window->Act_QuickClear));
        QVERIFY(m_window->Act_QuickClear->associatedObjects().isEmpty());
    }

    void buttonsFollowTheirActions() {
        QCOMPARE(m_window->ToolButton_StartFind->defaultAction(), m_window->Act_StartFind);
        QCOMPARE(m_window->ToolButton_StopFind->defaultAction(), m_window->Act_StopFind);
        QCOMPARE(m_window->ToolButton_Delete->defaultAction(), m_window->Act_Delete);
        m_window->Act_Delete->setEnabled(true);
        QVERIFY(m_window->ToolButton_Delete->isEnabled());
        m_window->Act_Delete->setEnabled(false);
        QVERIFY(!m_window->ToolButton_Delete->isEnabled());
    }

    void popupMenu() {
        auto* menu = m_window->findChild<QMenu*>(QStringLiteral("PopupMenu_CrExt"));
        QVERIFY(menu);
        QStringList items;
        for (QAction* item : menu->actions())
            items.append(item->objectName() + QLatin1Char('=') +
                         (item->isSeparator() ? QStringLiteral("-") : item->text()));
        QCOMPARE(items, (QStringList{"N1=Рекомендуемые", "N5=-", "N2=Выделить всё",
                                     "N3=Убрать выделение", "N4=Инвертировать"}));
        QCOMPARE(m_window->sListView_CrExt->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(m_window->sListView_Location->contextMenuPolicy(), Qt::DefaultContextMenu);
    }

    void searchComponent() {
        const velmaro::TFindFile& search = m_window->FindFile();
        QVERIFY(search.Threaded());
        QVERIFY(!search.Busy());
        QCOMPARE(search.Criteria().Attributes().Hidden(), velmaro::fsIgnore);
        QCOMPARE(search.Criteria().Attributes().System(), velmaro::fsIgnore);
        QStringList filters;
        for (int i = 0; i < search.Criteria().Files().Filters().Count(); ++i)
            filters.append(QString::fromStdString(search.Criteria().Files().Filters().Items(i)));
        QCOMPARE(filters, (QStringList{">/var/tmp/*", "/bin/*", "/boot/*", "/efi/*", "/etc/*",
                                       "/lib*", "/opt/*", "/sbin/*", "/snap/*", "/srv/*", "/usr/*",
                                       "/var/*", "*/COMMON FILES*", "*/*Office*",
                                       "*/.local/share/Trash/*", "*/.Trash-*"}));
    }

    void deletePanelKeepsItsProportionalPlace() {
        m_window->resize(2 * 792, 2 * 567);
        QTest::qWait(0);
        // Twice the design's client area: the centre doubles, (1009 - 212.5, 544 - 33).
        QCOMPARE(m_window->sPanel_Delete->pos(), QPoint(797, 511));
        QCOMPARE(m_window->sLabel_DirF->width(), 1584 - 230 - 15);
        m_window->resize(800, 600);
    }
};

QTEST_MAIN(MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
