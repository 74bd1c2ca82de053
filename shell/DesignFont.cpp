// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/DesignFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace velmaro {
namespace {

const QString kFamily = QStringLiteral("Tahoma");
// Debian's fonts-wine keeps its fonts out of the system's font folders, so that they replace
// nothing for other programs.
const char* const kFontFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                  "/usr/share/wine/fonts/tahomabd.ttf"};

} // namespace

bool LoadDesignFont() {
    if (QFontDatabase::families().contains(kFamily))
        return true;
    for (const char* file : kFontFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    return QFontDatabase::families().contains(kFamily);
}

} // namespace velmaro
