#include "workflow/Guard.h"

#include "platform/CodePage.h"
#include "workflow/Prompts.h"

#include <QCoreApplication>

namespace velmaro {

void ShowErrorBox(QWidget* parent, const std::exception* error) {
    const QString text =
        error ? QString::fromStdU16String(platform::CodePage::system().toUtf16(error->what()))
              : QStringLiteral("Unknown error");
    Prompts::current().message(parent, Prompts::Icon::Critical, QCoreApplication::applicationName(),
                               text);
}

} // namespace velmaro
