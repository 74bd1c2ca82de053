// Rows listed per second by a search run through a shown window: a generated tree of FILES
// matching files (1,000 per folder) is searched with the window's search run, every row
// handed from the search worker to the GUI thread, while a 10 ms timer measures how late the
// GUI thread serves events and the list repaints. Prints the rows per second, the longest
// lateness of the timer and the peak memory, then removes the tree.
//
//   velmaro-bench-search-run [FILES] [PARENT]   (defaults: 100000, /tmp)
//
// Run it with QT_QPA_PLATFORM=offscreen where no display is at hand.

#include "workflow/Prompts.h"
#include "workflow/SearchRun.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int filesPerFolder = 1000;

// Answers the finish box without a user.
class SilentPrompts final : public velmaro::Prompts {
public:
    void message(QWidget*, Icon, const QString&, const QString&) override {}
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

bool makeTree(const std::string& root, int files) {
    for (int i = 0; i < files; ++i) {
        const std::string folder = root + "d" + std::to_string(i / filesPerFolder) + "/";
        if (i % filesPerFolder == 0 && mkdir(folder.c_str(), 0755) != 0)
            return false;
        const int fd =
            open((folder + std::to_string(i) + ".tmp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        close(fd);
    }
    return true;
}

void removeTree(const std::string& root) {
    nftw(
        root.c_str(),
        [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::string pattern = std::string(argc > 2 ? argv[2] : "/tmp") + "/velmaro-bench-XXXXXX";
    if (files <= 0 || mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(stderr, "usage: velmaro-bench-search-run [FILES] [PARENT]\n");
        return 2;
    }
    const std::string root = pattern + "/";
    if (!makeTree(root, files)) {
        std::perror("creating the tree");
        removeTree(root);
        return 1;
    }

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QTreeWidget;
    list->setHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Расположение"),
                           QStringLiteral("Размер"), QStringLiteral("Дата")});
    auto* label = new QLabel;
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    auto* modeQuick = new QToolButton;
    layout->addWidget(list);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addWidget(modeQuick);
    QAction startFind, stopFind, deleteFiles;
    window.resize(800, 600);
    window.show();

    SilentPrompts prompts;
    velmaro::Prompts::install(&prompts);
    velmaro::SearchRun run(
        {&window, list, label, bar, &startFind, &stopFind, &deleteFiles, modeQuick},
        [&] { return root + ";"; }, [] { return std::string("*.tmp;"); });

    QElapsedTimer sinceTick;
    qint64 worstLateness = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { worstLateness = std::max(worstLateness, sinceTick.restart() - 10); });

    QElapsedTimer clock;
    run.FindFile().OnSearchFinish = [&](velmaro::TFindFile& sender) {
        const qint64 elapsed = clock.elapsed();
        run.FindFileSearchFinish(sender);
        tick.stop();
        const int rows = list->topLevelItemCount();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%d rows in %lld ms: %.0f rows/s; GUI timer at most %lld ms late; "
                    "peak memory %.1f MiB\n",
                    rows, static_cast<long long>(elapsed),
                    elapsed > 0 ? rows * 1000.0 / static_cast<double>(elapsed) : 0.0,
                    static_cast<long long>(worstLateness),
                    static_cast<double>(usage.ru_maxrss) / 1024.0);
        QApplication::quit();
    };
    QTimer::singleShot(0, [&] {
        sinceTick.start();
        tick.start(10);
        clock.start();
        run.Act_StartFindExecute();
    });
    const int status = application.exec();
    velmaro::Prompts::install(nullptr);
    removeTree(root);
    return status;
}
