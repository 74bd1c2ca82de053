// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings: read while the window is created, written when it closes.

#include "shell/Form_Main.h"
#include "shell/News.h"
#include "shell/ProductVersion.h"
#include "shell/SettingsStore.h"
#include "shell/SkinManager.h"
#include "shell/StoreNewsSettings.h"
#include "shell/WindowPlacement.h"
#include "workflow/CheckList.h"
#include "workflow/SearchRun.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>
#include <cmath>

namespace velmaro {
namespace {

// Half of value, rounded to the nearest integer with halves to the even neighbour.
int halfRoundedEven(int value) {
    return static_cast<int>(std::nearbyint(value / 2.0));
}

// The available area of every screen, the primary one first.
QVector<QRect> screenAreas() {
    QVector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

} // namespace

void TForm_Main::FormCreate() {
    SettingsStore settings;

    sSkinManager->SetSkinName(QString::fromStdString(
        settings.ReadString("Skin", "Name", SkinManager::defaultSkinName().toStdString())));
    sSkinManager->SetActive(true);

    FillDriveList();

    for (int i = 0; i < sListView_CrExt->topLevelItemCount(); ++i) {
        QTreeWidgetItem& row = *sListView_CrExt->topLevelItem(i);
        const bool recommended = row.data(0, RecommendedRole).toString() == QLatin1String("1");
        const bool checked = settings.ReadBool("ExtCr", RowValue(row), recommended);
        row.setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }

    // Windows rectangles end exclusively: the work area's right edge is x + width. The default
    // centre is half the right and bottom coordinates, so a task bar at the left or top moves it.
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const int workRight = work.x() + work.width();
    const int workBottom = work.y() + work.height();

    // The stored rectangle is bounded by the screens before it is applied: a damaged value must
    // neither make a giant window nor keep the window out of reach.
    const QVector<QRect> areas = screenAreas();
    const int width = settings.ReadInteger("windowmain", "W", 0);
    const int height = settings.ReadInteger("windowmain", "H", 0);
    const QSize size = WindowPlacement::boundedSize({width, height}, kMinimumOuterSize, areas);
    const int left = settings.ReadInteger(
        "windowmain", "L", halfRoundedEven(workRight) - halfRoundedEven(size.width()));
    const int top = settings.ReadInteger(
        "windowmain", "T", halfRoundedEven(workBottom) - halfRoundedEven(size.height()));
    setOuterGeometry(QRect(WindowPlacement::withinReach({left, top}, size, areas), size));

    // The placement set above becomes the one the window restores to.
    if (settings.ReadBool("windowmain", "M", false))
        setWindowState(windowState() | Qt::WindowMaximized);

    // The pane width is a nicety: whatever is wrong with it leaves the default width.
    try {
        setPaneWidth(settings.ReadInteger("windowmain", "splitter", kDefaultPaneWidth));
    } catch (...) {
        setPaneWidth(kDefaultPaneWidth);
    }

    settings.Close();

    ToolButton_ModeQuickClick();

    setWindowTitle(windowTitle() + QLatin1Char(' ') + QString::fromStdString(GetProductVersion()));

    TNews::Start(sLabel_Hint, &OpenStoreNewsSettings);
}

void TForm_Main::FormCloseQuery(bool&) {
    stopDeletionForClose();
    m_searchRun->Close();

    SettingsStore settings;
    settings.WriteString("Skin", "Name", sSkinManager->SkinName().toStdString());
    for (int i = 0; i < sListView_CrExt->topLevelItemCount(); ++i) {
        const QTreeWidgetItem& row = *sListView_CrExt->topLevelItem(i);
        settings.WriteBool("ExtCr", RowValue(row), row.checkState(0) == Qt::Checked);
    }
    // A maximised window keeps the normal placement saved by an earlier close.
    if (isMaximized()) {
        settings.WriteBool("windowmain", "M", true);
    } else {
        const QRect outer = outerGeometry();
        settings.WriteBool("windowmain", "M", false);
        settings.WriteInteger("windowmain", "L", outer.x());
        settings.WriteInteger("windowmain", "T", outer.y());
        settings.WriteInteger("windowmain", "W", outer.width());
        settings.WriteInteger("windowmain", "H", outer.height());
    }
    settings.WriteInteger("windowmain", "splitter", paneWidth());
    settings.Close();
}

} // namespace velmaro
