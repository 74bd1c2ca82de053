// SPDX-License-Identifier: GPL-3.0-or-later
// Times the deletion pass through a shown main window: FILES generated junk files are found by
// the window's own search (the type "*.tmp" alone checked, so each is listed once, with the
// identity the walk saw) and deleted with the window's delete action, which moves the delete
// panel's bar and processes events after each file. A 10 ms timer measures how late the GUI
// thread serves events during the pass. Prints the cost per file (the 1 ms pause after each
// file included) and the timer's longest lateness, then removes the files' folder.
//
//   velmaro-bench-deletion-window [FILES]   (default 10000; the files go below TMPDIR)
//
// The window runs as WindowBenchSetting.h describes.

#include "GuiLateness.h"
#include "WindowBenchSetting.h"
#include "platform/FixtureRoots.h"
#include "shell/Form_Main.h"
#include "workflow/Form_Report.h"
#include "workflow/ResultListModel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Junk files lie a thousand to a folder at most, as in the search benchmark's trees: what the
// pass costs per file should not hide the file system's cost of one folder of 200,000 entries.
constexpr int filesPerFolder = 1000;

bool makeFiles(const std::string& folder, int files) {
    for (int i = 0; i < files; ++i) {
        const std::string subfolder = folder + std::to_string(i / filesPerFolder) + "/";
        if (i % filesPerFolder == 0 && mkdir(subfolder.c_str(), 0755) != 0)
            return false;
        const std::string path = subfolder + "junk" + std::to_string(i) + ".tmp";
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, "x", 1) != 1)
            return false;
        close(fd);
    }
    return true;
}

// Checks the junk type "*.tmp" alone.
void checkTmpOnly(velmaro::TForm_Main& window) {
    window.N3Click();
    QTreeWidget& types = *window.sListView_CrExt;
    for (int i = 0; i < types.topLevelItemCount(); ++i)
        if (types.topLevelItem(i)->text(0) == QStringLiteral("*.tmp"))
            types.topLevelItem(i)->setCheckState(0, Qt::Checked);
}

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir root;
    const std::string rootPath = root.path().toStdString();
    const WindowBenchSetting setting(rootPath);
    QApplication application(argc, argv);
    // The files lie some folders deep, as junk usually does.
    const std::string folder = rootPath + "/home/user/.cache/app/tmp/";
    if (files <= 0 || !root.isValid() || !velmaro::platform::RegisterFixtureRoot(rootPath) ||
        !QDir().mkpath(QString::fromStdString(folder))) {
        std::fprintf(stderr, "usage: velmaro-bench-deletion-window [FILES]\n");
        return 2;
    }
    if (!makeFiles(folder, files)) {
        std::perror("creating the files");
        return 1;
    }

    velmaro::TForm_Main window(setting);
    window.show();
    checkTmpOnly(window);
    // The search has finished once its start action is enabled again.
    QEventLoop searching;
    QObject::connect(window.Act_StartFind, &QAction::enabledChanged, &searching, [&](bool enabled) {
        if (enabled)
            searching.quit();
    });
    QTimer::singleShot(0, [&] { window.Act_StartFind->trigger(); });
    searching.exec();
    const int listed = window.results().rowCount();

    QElapsedTimer clock;
    GuiLateness lateness;
    // Closes the report once it is shown and stops the clock there.
    qint64 passEnd = 0;
    QTimer reportCloser;
    QObject::connect(&reportCloser, &QTimer::timeout, [&] {
        if (auto* report =
                qobject_cast<velmaro::TForm_Report*>(QApplication::activeModalWidget())) {
            passEnd = passEnd ? passEnd : clock.nsecsElapsed();
            report->sBitBtn_CloseClick();
        }
    });
    reportCloser.start(1);

    clock.start();
    lateness.start();
    window.Act_Delete->trigger();
    lateness.stop();
    const int left = window.results().rowCount();

    std::printf("files %d, rows listed %d, rows left %d\n", files, listed, left);
    std::printf("per file %.3f ms (1 ms pause included); 10 ms timer: %d ticks, worst lateness "
                "%.1f ms\n",
                static_cast<double>(passEnd) / 1e6 / files, lateness.ticks(), lateness.worstMs());
    return listed == files && left == 0 ? 0 : 1;
}
