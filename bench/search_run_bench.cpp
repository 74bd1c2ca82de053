// SPDX-License-Identifier: GPL-3.0-or-later
// A search through the main window, as the user starts it: the window (set up as
// WindowBenchSetting.h describes) gets ROOT as its only drive and every junk type checked, and
// its start action runs the search until it has finished. Meanwhile a 10 ms timer measures how late
// the GUI thread serves events. Then a second start measures how long clearing the listed rows
// takes, and is stopped.
//
//   velmaro-bench-search-run [--stop-after ROWS] ROOT
//
// --stop-after presses the stop action once ROWS rows are listed and measures how long the
// search takes to finish after it. Prints one line:
//   rows R wall W s cpu C s gui G s peak P MiB late L ms clear X ms [stop S ms]
// (wall from the start action until the search has finished with every row listed, cpu the
// process's user and system time over the same span and gui the GUI thread's share of it, peak
// the process's peak resident memory, late the worst lateness of the timer).

#include "GuiLateness.h"
#include "WindowBenchSetting.h"
#include "shell/Form_Main.h"
#include "workflow/ResultListModel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The CPU time of the calling thread.
double threadCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    int stopAfter = 0;
    int arg = 1;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--stop-after") == 0) {
        stopAfter = std::atoi(argv[arg + 1]);
        arg += 2;
    }
    if (arg + 1 != argc) {
        std::fprintf(stderr, "usage: velmaro-bench-search-run [--stop-after ROWS] ROOT\n");
        return 2;
    }
    std::string root = argv[arg];
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();

    const WindowBenchSetting setting(root);
    QApplication application(argc, argv);
    velmaro::TForm_Main window(setting);
    window.show();
    window.N2Click();

    QElapsedTimer clock;
    qint64 stopPressed = -1;
    GuiLateness lateness;
    lateness.onTick = [&] {
        if (stopAfter > 0 && stopPressed < 0 && window.results().rowCount() >= stopAfter) {
            stopPressed = clock.nsecsElapsed();
            window.Act_StopFind->trigger();
        }
    };

    qint64 started = 0;
    qint64 finished = 0;
    double cpuAtStart = 0;
    double cpu = 0;
    double guiCpuAtStart = 0;
    double guiCpu = 0;
    int rows = 0;
    qint64 clearStarted = 0;
    qint64 cleared = -1;
    // The start action is disabled when a search has started (its list cleared) and enabled
    // again when it has finished, every row listed.
    QObject::connect(window.Act_StartFind, &QAction::enabledChanged, [&](bool enabled) {
        const bool running = !enabled;
        if (running) {
            if (clearStarted > 0 && cleared < 0) {
                // The second start: the rows are gone; stop it at once.
                cleared = clock.nsecsElapsed() - clearStarted;
                QTimer::singleShot(0, [&] { window.Act_StopFind->trigger(); });
            }
            return;
        }
        if (finished == 0) {
            finished = clock.nsecsElapsed();
            cpu = cpuSeconds() - cpuAtStart;
            guiCpu = threadCpuSeconds() - guiCpuAtStart;
            rows = window.results().rowCount();
            lateness.stop();
            QTimer::singleShot(0, [&] {
                clearStarted = clock.nsecsElapsed();
                window.Act_StartFind->trigger();
            });
        } else {
            QApplication::quit();
        }
    });

    QTimer::singleShot(0, [&] {
        clock.start();
        lateness.start();
        cpuAtStart = cpuSeconds();
        guiCpuAtStart = threadCpuSeconds();
        started = clock.nsecsElapsed();
        window.Act_StartFind->trigger();
    });
    const int status = application.exec();
    if (status != 0 || finished == 0)
        return 1;

    std::printf(
        "rows %d wall %.3f s cpu %.3f s gui %.3f s peak %.1f MiB late %.1f ms clear %.1f ms", rows,
        static_cast<double>(finished - started) / 1e9, cpu, guiCpu, peakMiB(), lateness.worstMs(),
        static_cast<double>(cleared) / 1e6);
    if (stopPressed >= 0)
        std::printf(" stop %.1f ms", static_cast<double>(finished - stopPressed) / 1e6);
    std::printf("\n");
    return 0;
}
