// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/QtMessageWindow.h"

#include <QMetaObject>
#include <utility>

namespace velmaro {

void QtMessageWindow::post(std::function<void()> Call) {
    QMetaObject::invokeMethod(this, std::move(Call), Qt::QueuedConnection);
}

} // namespace velmaro
