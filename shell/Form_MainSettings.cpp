// The main window's settings: read while the window is created, written when it closes.

#include "shell/Form_Main.h"
#include "shell/SkinManager.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace velmaro {
namespace {

constexpr int kMinimumOuterWidth = 800;
constexpr int kMinimumOuterHeight = 600;
constexpr int kDefaultPaneWidth = 224;

// Half of value, rounded to the nearest integer with halves to the even neighbour.
int halfRoundedEven(int value) {
    return static_cast<int>(std::nearbyint(value / 2.0));
}

} // namespace

void TForm_Main::FormCreate() {
    sSkinManager->SetSkinName(SkinManager::defaultSkinName());
    sSkinManager->SetActive(true);

    // Windows rectangles end exclusively: the work area's right edge is x + width.
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const int workRight = work.x() + work.width();
    const int workBottom = work.y() + work.height();
    setOuterWidth(0);
    setOuterHeight(0);
    move(halfRoundedEven(workRight) - halfRoundedEven(outerSize().width()),
         halfRoundedEven(workBottom) - halfRoundedEven(outerSize().height()));
    setPaneWidth(kDefaultPaneWidth);
    ToolButton_ModeQuickClick();
}

void TForm_Main::FormCloseQuery(bool&) {}

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
