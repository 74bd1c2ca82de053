// SPDX-License-Identifier: GPL-3.0-or-later
// velmaro: the desktop program.

#include "engine/CharTables.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/HttpFetch.h"
#include "shell/DesignFont.h"
#include "shell/Form_Main.h"
#include "shell/QtTranslation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Qt switches the process to UTF-8, so the system's 8-bit code page is read before it starts.
    velmaro::platform::CodePage::selectFromLocale();
    velmaro::BuildCharTables();
    // libcurl's global set-up must run before any thread starts.
    velmaro::platform::initHttp();

    QApplication application(argc, argv);
    // The application title is the caption of the error boxes.
    QApplication::setApplicationName(QStringLiteral("Velmaro 2"));
    QApplication::setDesktopFileName(QStringLiteral("example.quarnolabs.velmaro"));
    // Both are niceties: without them Qt's own texts stay English and the system font serves.
    velmaro::InstallQtTranslation();
    velmaro::LoadDesignFont();

    const velmaro::platform::SystemDriveSource drives;
    velmaro::TForm_Main window(drives);
    window.show();
    return QApplication::exec();
}
