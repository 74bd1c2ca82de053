// Times the deletion pass through a shown main window: FILES generated junk files are found by
// the window's own search (the type "*.tmp" alone checked, so each is listed once, with the
// identity the walk saw) and deleted with the window's delete action, which moves the delete
// panel's bar and processes events after each file. A 10 ms timer measures how late the GUI
// thread serves events during the pass. Prints the cost per file (the 1 ms pause after each
// file included) and the timer's longest lateness, then removes the files' folder.
//
//   velmaro-bench-deletion-window [FILES]   (default 10000; the files go below TMPDIR)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the settings go to a
// temporary folder, so the user's own settings are neither read nor written.

#include "engine/CharTables.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/FixtureRoots.h"
#include "shell/Form_Main.h"
#include "workflow/Form_Report.h"
#include "workflow/Prompts.h"
#include "workflow/ResultListModel.h"

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

// Answers the finish box of the search without a user.
class SilentPrompts final : public velmaro::Prompts {
public:
    void message(QWidget*, Icon, const QString&, const QString&) override {}
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

bool makeFiles(const std::string& folder, int files) {
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + "junk" + std::to_string(i) + ".tmp";
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
    // As the program starts: the code page before Qt, then the character tables.
    velmaro::platform::CodePage::selectFromLocale();
    velmaro::BuildCharTables();
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
    if (!makeFiles(folder, files)) {
        std::perror("creating the files");
        return 1;
    }

    SilentPrompts prompts;
    velmaro::Prompts::install(&prompts);
    const BenchDrives drives(rootPath);
    velmaro::TForm_Main window(drives);
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
    const int left = window.results().rowCount();
    velmaro::Prompts::install(nullptr);

    std::printf("files %d, rows listed %d, rows left %d\n", files, listed, left);
    std::printf("per file %.3f ms (1 ms pause included); 10 ms timer: %d ticks, worst lateness "
                "%.1f ms\n",
                static_cast<double>(passEnd) / 1e6 / files, ticks,
                static_cast<double>(worstLateness) / 1e6);
    return listed == files && left == 0 ? 0 : 1;
}
