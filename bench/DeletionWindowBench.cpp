// Times the deletion pass through a shown main window: FILES generated files are listed as a
// search lists them, all checked, and deleted with the window's delete action, which moves
// the delete panel's bar and processes events after each file. A 10 ms timer measures how
// late the GUI thread serves events meanwhile. Prints the cost per file (the 1 ms pause after
// each file included) and the timer's longest lateness, then removes the files' folder.
//
//   velmaro-bench-deletion-window [FILES]   (default 10000)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the settings go to a
// temporary folder, so the user's own settings are neither read nor written.

#include "platform/Drives.h"
#include "platform/FileOperations.h"
#include "platform/FixtureRoots.h"
#include "shell/Form_Main.h"
#include "workflow/Form_Report.h"
#include "workflow/ResultRow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder of the files as the only drive, so the window never lists the machine's drives.
class BenchDrives final : public velmaro::platform::DriveSource {
public:
    explicit BenchDrives(std::string root) : m_root(std::move(root)) {}
    std::vector<velmaro::platform::Drive> drives() const override {
        return {{m_root, m_root + "/", velmaro::platform::DriveKind::Fixed}};
    }

private:
    std::string m_root;
};

bool listFiles(QTreeWidget& list, const std::string& folder, int files) {
    for (int i = 0; i < files; ++i) {
        velmaro::ResultRow row;
        row.Folder = QByteArray::fromStdString(folder);
        row.Name = "junk" + QByteArray::number(i) + ".tmp";
        row.Size = 1;
        row.Texts = {QString::fromLatin1(row.Name), QString::fromStdString(folder),
                     QStringLiteral("1 b"), QString()};
        const std::string path = folder + row.Name.toStdString();
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, "x", 1) != 1)
            return false;
        close(fd);
        row.Identity = velmaro::platform::GetFileAttributes(path).identity();
        list.addTopLevelItem(velmaro::NewResultItem(row));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir root;
    const std::string rootPath = root.path().toStdString();
    // The files lie some folders deep, as junk usually does.
    const std::string folder = rootPath + "/home/user/.cache/app/tmp/";
    if (files <= 0 || !root.isValid() || !velmaro::platform::RegisterFixtureRoot(rootPath) ||
        !QDir().mkpath(QString::fromStdString(folder))) {
        std::fprintf(stderr, "usage: velmaro-bench-deletion-window [FILES]\n");
        return 2;
    }

    const BenchDrives drives(rootPath);
    velmaro::TForm_Main window(drives);
    window.show();
    if (!listFiles(*window.sListView_Result, folder, files)) {
        std::perror("creating the files");
        return 1;
    }
    window.Act_Delete->setEnabled(true);

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 worstLateness = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worstLateness = std::max(worstLateness, now - lastTick - 10'000'000);
        lastTick = now;
        ++ticks;
    });
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
    ticker.start(10);
    lastTick = clock.nsecsElapsed();
    window.Act_Delete->trigger();
    ticker.stop();
    const int left = window.sListView_Result->topLevelItemCount();

    std::printf("files %d, rows left %d\n", files, left);
    std::printf("per file %.3f ms (1 ms pause included); 10 ms timer: %d ticks, worst lateness "
                "%.1f ms\n",
                passEnd / 1e6 / files, ticks, worstLateness / 1e6);
    return left == 0 ? 0 : 1;
}
