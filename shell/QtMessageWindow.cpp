#include "shell/QtMessageWindow.h"

#include <QMetaObject>

namespace velmaro {

QtMessageWindow::QtMessageWindow() : m_context(std::make_unique<QObject>()) {}

QtMessageWindow::~QtMessageWindow() = default;

void QtMessageWindow::post(std::function<void()> Call) {
    QMetaObject::invokeMethod(m_context.get(), std::move(Call), Qt::QueuedConnection);
}

} // namespace velmaro
