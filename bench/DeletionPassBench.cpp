// Times the deletion pass over a folder of generated files: the cost per file, its worst
// case, and the 1 ms pause alone for comparison.
// Usage: velmaro-bench-deletion [files]   (default 10000)

#include "platform/FixtureRoots.h"
#include "workflow/DeletionPass.h"
#include "workflow/DeletionRows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class GeneratedRows : public velmaro::DeletionRows {
public:
    GeneratedRows(std::string folder, int count) : m_folder(std::move(folder)) {
        for (int i = 0; i < count; ++i)
            m_names.push_back("junk" + std::to_string(i) + ".tmp");
    }
    int Count() const override { return static_cast<int>(m_names.size()); }
    bool isChecked(int) const override { return true; }
    std::string folder(int) const override { return m_folder; }
    std::string name(int row) const override { return m_names[row]; }
    std::int64_t size(int) const override { return 1; }
    velmaro::platform::FileIdentity identity(int) const override { return {}; }
    void removeRow(int row) override { m_names.erase(m_names.begin() + row); }

private:
    std::string m_folder;
    std::vector<std::string> m_names;
};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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
    GeneratedRows rows(folder, count);
    for (int i = 0; i < count; ++i)
        std::ofstream(folder + rows.name(i)) << 'x';

    velmaro::DeletionPass pass(rows);
    double worst = 0;
    Clock::time_point last = Clock::now();
    pass.onFileDone = [&] {
        worst = std::max(worst, msSince(last));
        last = Clock::now();
    };
    const Clock::time_point start = Clock::now();
    pass.Execute();
    const double total = msSince(start);

    const Clock::time_point pauseStart = Clock::now();
    for (int i = 0; i < 1000; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double pause = msSince(pauseStart) / 1000;

    std::filesystem::remove_all(root);
    std::printf("files %d deleted %d failed %zu\n", count, pass.DeletedCount(),
                pass.FailedFiles().size());
    std::printf("per file %.3f ms (worst %.3f ms), 1 ms pause alone %.3f ms\n", total / count,
                worst, pause);
    return pass.DeletedCount() == count ? 0 : 1;
}
