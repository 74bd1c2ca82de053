// SPDX-License-Identifier: GPL-3.0-or-later
// Times the deletion pass over a folder of generated files: the cost per file with the 1 ms
// pause and its worst case, the 1 ms pause alone for comparison, and the pass once more without
// the pause, which leaves the cost of the file operations and their checks alone.
// Usage: velmaro-bench-deletion [files]   (default 10000)

#include "cleaner/DeletionPass.h"
#include "cleaner/DeletionRows.h"
#include "cleaner/FileDeletion.h"
#include "platform/FileOperations.h"
#include "platform/FixtureRoots.h"
#include "platform/Sleep.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Count files in folder, made on construction and listed as a search lists them.
class GeneratedRows : public velmaro::DeletionRows {
public:
    GeneratedRows(std::string folder, int count) : m_folder(std::move(folder)) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "junk" + std::to_string(i) + ".tmp";
            std::ofstream(m_folder + name) << 'x';
            m_rows.push_back(
                {name, velmaro::platform::GetFileAttributes(m_folder + name).identity()});
        }
    }
    int Count() const override { return static_cast<int>(m_rows.size()); }
    bool isChecked(int) const override { return true; }
    std::string folder(int) const override { return m_folder; }
    std::string name(int row) const override { return m_rows[row].name; }
    std::int64_t size(int) const override { return 1; }
    velmaro::platform::FileIdentity identity(int row) const override {
        return m_rows[row].identity;
    }
    void removeRow(int row) override { m_rows.erase(m_rows.begin() + row); }

private:
    struct Row {
        std::string name;
        velmaro::platform::FileIdentity identity;
    };
    std::string m_folder;
    // A deque, so that removing the first row (which the pass does every time) costs nothing.
    std::deque<Row> m_rows;
};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Run {
    double perFile;
    double worst;
    bool allDeleted;
};

// Deletes count generated files in folder with the given pause after each.
Run runPass(const std::string& folder, int count, std::chrono::microseconds pause) {
    GeneratedRows rows(folder, count);
    velmaro::FileDeletion deletion(pause);
    velmaro::DeletionPass pass(rows, deletion);
    double worst = 0;
    Clock::time_point last = Clock::now();
    pass.onFileDone = [&](const velmaro::DeletionPass::FileDone&) {
        worst = std::max(worst, msSince(last));
        last = Clock::now();
    };
    const Clock::time_point start = Clock::now();
    pass.Execute();
    return {msSince(start) / count, worst,
            pass.DeletedCount() == count && pass.FailedFiles().empty()};
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    std::string root = (std::filesystem::temp_directory_path() / "velmaro-bench-XXXXXX").string();
    if (count <= 0 || !mkdtemp(root.data()) || !velmaro::platform::RegisterFixtureRoot(root)) {
        std::fprintf(stderr, "usage: %s [files]; needs a writable temporary folder\n", argv[0]);
        return 2;
    }
    const std::string folder = root + "/home/user/.cache/app/tmp/";
    std::filesystem::create_directories(folder);

    const Run paused = runPass(folder, count, velmaro::FileDeletion::DefaultPause);
    const Clock::time_point pauseStart = Clock::now();
    for (int i = 0; i < 1000; ++i)
        velmaro::platform::Sleep(velmaro::FileDeletion::DefaultPause);
    const double pause = msSince(pauseStart) / 1000;
    const Run unpaused = runPass(folder, count, std::chrono::microseconds(0));

    std::filesystem::remove_all(root);
    std::printf("files %d, all deleted: %s\n", count,
                paused.allDeleted && unpaused.allDeleted ? "yes" : "no");
    std::printf("per file %.3f ms (worst %.3f ms), 1 ms pause alone %.3f ms\n", paused.perFile,
                paused.worst, pause);
    std::printf("without the pause: per file %.1f us (worst %.3f ms)\n", unpaused.perFile * 1000,
                unpaused.worst);
    return paused.allDeleted && unpaused.allDeleted ? 0 : 1;
}
