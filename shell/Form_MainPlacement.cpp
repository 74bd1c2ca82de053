// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's outer rectangle: placed exactly, whatever frame a window manager gives it.

#include "shell/Form_Main.h"

#include <QEvent>
#include <QWindow>

namespace velmaro {
namespace {

bool normalState(Qt::WindowStates states) {
    return !(states & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

} // namespace

void TForm_Main::setOuterGeometry(const QRect& outer) {
    m_outerGeometry = outer;
    m_outerGeometryPending = true;
    applyOuterGeometry();
}

QRect TForm_Main::outerGeometry() const {
    // The window's own margins, not the widget's copy of them: a window manager may change the
    // frame (as after a restore from maximised) without moving the window.
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    return geometry().marginsAdded(margins);
}

void TForm_Main::applyOuterGeometry() {
    followFrameMargins();
    m_placedGeometry = m_outerGeometry.marginsRemoved(m_frameMargins);
    setGeometry(m_placedGeometry);
}

void TForm_Main::followFrameMargins() {
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (margins == m_frameMargins && !minimumSize().isNull())
        return;
    m_frameMargins = margins;
    setMinimumSize(kMinimumOuterSize.shrunkBy(margins));
    // A frame that changes around a window still standing where it was placed (a window manager
    // framing it late) must not move the outer rectangle: the window is placed again for it.
    if (!m_placedGeometry.isNull() && geometry() == m_placedGeometry && normalState(windowState()))
        applyOuterGeometry();
}

void TForm_Main::placeOnceFramed() {
    followFrameMargins();
    if (!normalState(windowState())) {
        m_maximisedGeometry = geometry();
        return;
    }
    // The window manager tells the frame of the normal state with the geometry it restores the
    // window to: until that has come, the window still has its maximised geometry.
    if (!m_outerGeometryPending || !windowHandle()->isExposed() ||
        geometry() == m_maximisedGeometry)
        return;
    m_outerGeometryPending = false;
    applyOuterGeometry();
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
    // A window manager has framed the window by the time it first shows it.
    if (watched == windowHandle() && event->type() == QEvent::Expose)
        placeOnceFramed();
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Main::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    placeOnceFramed();
}

void TForm_Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        placeOnceFramed();
}

} // namespace velmaro
