// SPDX-License-Identifier: GPL-3.0-or-later
// Using the main window: the mode switch, the catalogue's presets, the location list and the
// strings a search receives.

#include "WindowFixture.h"
#include "cleaner/JunkCatalogue.h"
#include "engine/FileDetails.h"
#include "shell/Form_Info.h"
#include "shell/Form_Main.h"
#include "workflow/CheckList.h"
#include "workflow/ResultListModel.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

using velmaro::TForm_Main;
using velmaro::platform::DriveKind;

namespace {

void setChecks(QTreeWidget& list, const QVector<int>& checkedRows) {
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        list.topLevelItem(i)->setCheckState(0,
                                            checkedRows.contains(i) ? Qt::Checked : Qt::Unchecked);
}

QVector<int> checkedRows(const QTreeWidget& list) {
    QVector<int> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        if (list.topLevelItem(i)->checkState(0) == Qt::Checked)
            rows.append(i);
    return rows;
}

QVector<int> recommendedRows() {
    QVector<int> rows;
    int i = 0;
    for (const auto& type : velmaro::junkCatalogue()) {
        if (type.isRecommended())
            rows.append(i);
        ++i;
    }
    return rows;
}

} // namespace

class MainWindowUseTest : public QObject {
    Q_OBJECT

    // A mount point whose name is not valid UTF-8 must reach the search byte for byte.
    const std::vector<velmaro::platform::Drive> m_drives{
        {"/", "/", DriveKind::Fixed},
        {"/mnt/d\xE9j\xE0", "/mnt/d\xE9j\xE0/", DriveKind::Fixed},
        {"/media/stick", "/media/stick/", DriveKind::Removable}};
    std::unique_ptr<WindowFixture> m_fixture;
    TForm_Main* m_window = nullptr;

private Q_SLOTS:
    void init() {
        m_fixture = std::make_unique<WindowFixture>(m_drives);
        m_window = &m_fixture->start();
    }

    void cleanup() {
        const std::unique_ptr<WindowFixture> fixture = std::move(m_fixture);
        fixture->destroyWindow();
        QVERIFY(fixture->prompts().messages.isEmpty());
    }

    void modeSwitch() {
        m_window->sLabel_Hint->setText(QStringLiteral("news of the day"));
        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QVERIFY(m_window->ToolButton_ModeQuick->isChecked());
        QCOMPARE(m_window->sNotebook_Cr->currentIndex(), 1);
        QVERIFY(m_window->sListView_QC->isVisible());
        QVERIFY(!m_window->sListView_QC->isEnabled());
        QCOMPARE(m_window->sListView_QC->topLevelItemCount(), 0);
        QCOMPARE(m_window->sLabel_Hint->text(), QStringLiteral("Режим: быстрая очистка."));
        QVERIFY(!m_window->Act_StartFind->isEnabled());
        QVERIFY(!m_window->ToolButton_StartFind->isEnabled());

        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QVERIFY(!m_window->ToolButton_ModeQuick->isChecked());
        QCOMPARE(m_window->sNotebook_Cr->currentIndex(), 0);
        QCOMPARE(m_window->sLabel_Hint->text(), QStringLiteral("Режим: полная очистка."));
        QVERIFY(m_window->Act_StartFind->isEnabled());
    }

    void modeSwitchLeavesDeleteAsItWas_data() {
        QTest::addColumn<bool>("rowsListed");
        QTest::newRow("rows listed") << true;
        QTest::newRow("no rows") << false;
    }
    void modeSwitchLeavesDeleteAsItWas() {
        QFETCH(bool, rowsListed);
        if (rowsListed) {
            velmaro::TFileDetails file;
            file.Location = "/srv/data/";
            file.Name = "a.tmp";
            velmaro::ResultRowStore rows;
            rows.append(file);
            m_window->results().append(rows);
        }
        QCOMPARE(m_window->Act_Delete->isEnabled(), rowsListed);
        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QCOMPARE(m_window->Act_Delete->isEnabled(), rowsListed);
        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QCOMPARE(m_window->Act_Delete->isEnabled(), rowsListed);
    }

    void shortcuts() {
        // No location checked: a started search stops at the warning and never walks a drive.
        setChecks(*m_window->sListView_Location, {});
        QSignalSpy startFind(m_window->Act_StartFind, &QAction::triggered);
        QSignalSpy quickClear(m_window->Act_QuickClear, &QAction::triggered);
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(startFind.count(), 1);

        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(startFind.count(), 1);

        QTest::mouseClick(m_window->ToolButton_ModeQuick, Qt::LeftButton);
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(startFind.count(), 2);

        QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quickClear.count(), 0);
        QVERIFY(m_window->isVisible());

        QCOMPARE(m_fixture->prompts().messages.size(), 2);
        for (const auto& message : m_fixture->prompts().messages) {
            QCOMPARE(message.icon, RecordingPrompts::Icon::Warning);
            QCOMPARE(message.text, QStringLiteral("Выберите места для поиска."));
        }
        m_fixture->prompts().messages.clear();
    }

    void aboutWindowIsModalAndGoneAfterwards() {
        bool shown = false;
        QTimer::singleShot(0, this, [&shown] {
            shown = velmaro::Form_Info && velmaro::Form_Info->isVisible() &&
                    velmaro::Form_Info->isModal();
            if (velmaro::Form_Info)
                velmaro::Form_Info->reject();
        });
        QTest::mouseClick(m_window->ToolButton_Info, Qt::LeftButton);
        QVERIFY(shown);
        QCOMPARE(velmaro::Form_Info, nullptr);
        QVERIFY(m_window->isVisible());
    }

    void presets() {
        QTreeWidget& catalogue = *m_window->sListView_CrExt;
        const QVector<int> mixed = {0, 4, 11, 41};

        setChecks(catalogue, mixed);
        m_window->N1->trigger();
        QCOMPARE(checkedRows(catalogue), recommendedRows());
        QCOMPARE(recommendedRows().size(), 25);

        setChecks(catalogue, mixed);
        m_window->N2->trigger();
        QCOMPARE(checkedRows(catalogue).size(), 42);

        setChecks(catalogue, mixed);
        m_window->N3->trigger();
        QVERIFY(checkedRows(catalogue).isEmpty());

        setChecks(catalogue, mixed);
        m_window->N4->trigger();
        QCOMPARE(checkedRows(catalogue).size(), 42 - mixed.size());
        QVERIFY(!checkedRows(catalogue).contains(4));
        m_window->N4->trigger();
        QCOMPARE(checkedRows(catalogue), mixed);
    }

    void recommendedLeavesAnUnknownFlagAlone() {
        QTreeWidget& catalogue = *m_window->sListView_CrExt;
        catalogue.topLevelItem(0)->setData(0, velmaro::RecommendedRole, QStringLiteral("x"));
        catalogue.topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        m_window->N1Click();
        QCOMPARE(catalogue.topLevelItem(0)->checkState(0), Qt::Unchecked);
    }

    void catalogueRows() {
        QTreeWidget& catalogue = *m_window->sListView_CrExt;
        const auto types = velmaro::junkCatalogue();
        QCOMPARE(catalogue.topLevelItemCount(), static_cast<int>(types.size()));
        for (int i = 0; i < catalogue.topLevelItemCount(); ++i) {
            const QTreeWidgetItem& row = *catalogue.topLevelItem(i);
            QCOMPARE(row.text(0).toStdString(), std::string(types[i].mask));
            QCOMPARE(row.text(1).toStdString(), std::string(types[i].description));
            QVERIFY(row.flags() & Qt::ItemIsUserCheckable);
            QVERIFY(!(row.flags() & Qt::ItemIsEditable));
        }
        QCOMPARE(catalogue.topLevelItem(29)->text(1), QStringLiteral("Промежуточный "));
    }

    void maskString() {
        m_window->N3Click();
        QCOMPARE(m_window->BuildMaskString(), "");
        setChecks(*m_window->sListView_CrExt, {1, 2});
        QCOMPARE(m_window->BuildMaskString(), "*.tmp;*.temp;");
        m_window->N2Click();
        QCOMPARE(m_window->BuildMaskString(), velmaro::junkMaskString(velmaro::JunkSelection::All));
        QVERIFY(m_window->BuildMaskString().ends_with("*.log?;"));
    }

    void locationList() {
        QTreeWidget& locations = *m_window->sListView_Location;
        QCOMPARE(locations.topLevelItemCount(), 3);
        QCOMPARE(locations.topLevelItem(0)->text(0), QStringLiteral("Локальный диск /"));
        QVERIFY(locations.topLevelItem(1)->text(0).startsWith(QStringLiteral("Локальный диск ")));
        QCOMPARE(locations.topLevelItem(2)->text(0), QStringLiteral("Съёмный диск /media/stick"));
        QCOMPARE(checkedRows(locations), (QVector<int>{0, 1}));
        for (int i = 0; i < 3; ++i)
            QVERIFY(!locations.topLevelItem(i)->icon(0).isNull());
        // Two pictures: local disk and removable disk.
        QCOMPARE(locations.topLevelItem(0)->icon(0).cacheKey(),
                 locations.topLevelItem(1)->icon(0).cacheKey());
        QVERIFY(locations.topLevelItem(0)->icon(0).cacheKey() !=
                locations.topLevelItem(2)->icon(0).cacheKey());
    }

    void locationString() {
        QCOMPARE(m_window->BuildLocationString(), "/;/mnt/d\xE9j\xE0/;");
        setChecks(*m_window->sListView_Location, {2});
        QCOMPARE(m_window->BuildLocationString(), "/media/stick/;");
        setChecks(*m_window->sListView_Location, {});
        QCOMPARE(m_window->BuildLocationString(), "");
    }
};

QTEST_MAIN(MainWindowUseTest)
#include "MainWindowUseTest.moc"
