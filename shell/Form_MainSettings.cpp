// The main window's settings: read while the window is created, written when it closes.

#include "shell/Form_Main.h"
#include "shell/News.h"
#include "shell/ProductVersion.h"
#include "shell/SettingsStore.h"
#include "shell/SkinManager.h"
#include "shell/StoreNewsSettings.h"
#include "workflow/CheckList.h"
#include "workflow/SearchRun.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>
#include <QWindow>
#include <cmath>

namespace velmaro {
namespace {

constexpr int kMinimumOuterWidth = 800;
constexpr int kMinimumOuterHeight = 600;

// Half of value, rounded to the nearest integer with halves to the even neighbour.
int halfRoundedEven(int value) {
    return static_cast<int>(std::nearbyint(value / 2.0));
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

    setOuterWidth(settings.ReadInteger("windowmain", "W", 0));
    setOuterHeight(settings.ReadInteger("windowmain", "H", 0));

    const int left = settings.ReadInteger(
        "windowmain", "L", halfRoundedEven(workRight) - halfRoundedEven(outerSize().width()));
    move(left, frameGeometry().y());
    const int top = settings.ReadInteger(
        "windowmain", "T", halfRoundedEven(workBottom) - halfRoundedEven(outerSize().height()));
    move(frameGeometry().x(), top);

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
        const QRect outer = frameGeometry();
        settings.WriteBool("windowmain", "M", false);
        settings.WriteInteger("windowmain", "L", outer.x());
        settings.WriteInteger("windowmain", "T", outer.y());
        settings.WriteInteger("windowmain", "W", outer.width());
        settings.WriteInteger("windowmain", "H", outer.height());
    }
    settings.WriteInteger("windowmain", "splitter", paneWidth());
    settings.Close();
}

QSize TForm_Main::frameExtent() const {
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

void TForm_Main::applyMinimumOuterSize() {
    setMinimumSize(QSize(kMinimumOuterWidth, kMinimumOuterHeight) - frameExtent());
}

QSize TForm_Main::outerSize() const {
    return frameGeometry().size();
}

void TForm_Main::setOuterWidth(int width) {
    resize(std::max(width, kMinimumOuterWidth) - frameExtent().width(), geometry().height());
}

void TForm_Main::setOuterHeight(int height) {
    resize(geometry().width(), std::max(height, kMinimumOuterHeight) - frameExtent().height());
}

} // namespace velmaro
