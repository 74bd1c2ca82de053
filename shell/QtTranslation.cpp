// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace velmaro {

bool InstallQtTranslation() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
    return true;
}

} // namespace velmaro
