#include "shell/ApplicationErrorBox.h"

#include "engine/ApplicationError.h"
#include "workflow/Prompts.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace velmaro {

void InstallApplicationErrorBox() {
    SetApplicationErrorHook([](const std::string& ClassName, const std::string& Message) {
        const QString text = QStringLiteral("Exception %1: %2")
                                 .arg(QString::fromUtf8(ClassName), QString::fromUtf8(Message));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [text] {
                Prompts::current().message(nullptr, Prompts::Icon::Critical,
                                           QStringLiteral("Application Error"), text);
            },
            Qt::QueuedConnection);
    });
}

} // namespace velmaro
