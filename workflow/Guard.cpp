// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/Guard.h"

#include "workflow/Prompts.h"

#include <QCoreApplication>

namespace velmaro {

void ShowErrorBox(QWidget* parent, const std::exception* error) {
    const QString text = error ? QString::fromUtf8(error->what()) : QStringLiteral("Unknown error");
    Prompts::current().message(parent, Prompts::Icon::Critical, QCoreApplication::applicationName(),
                               text);
}

} // namespace velmaro
