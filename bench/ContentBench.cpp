// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark helper for the content scan.
//   content_bench generate FILE MIB   writes MIB mebibytes of random lower-case words and line
//                                     breaks to FILE
//   content_bench search FILE PHRASE RUNS
//                                     searches FILE for PHRASE (case-insensitive, as 8-bit
//                                     text unless it has a byte-order mark) RUNS times and
//                                     prints the best wall-clock and CPU times in seconds and
//                                     whether it was found
#include "engine/CharTables.h"
#include "engine/PhraseSearch.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <time.h>

namespace {

int generate(const char* path, long mebibytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return 1;
    std::mt19937_64 random(42);
    std::string line;
    const long total = mebibytes << 20;
    long written = 0;
    while (written < total) {
        line.clear();
        // A line of 1 to 12 words of 1 to 10 letters, every letter equally likely; a word that
        // happens to hold the benchmark's phrase is drawn again, so that it never occurs.
        const int words = 1 + static_cast<int>(random() % 12);
        for (int w = 0; w < words; ++w) {
            if (w > 0)
                line += ' ';
            std::string word;
            do {
                word.assign(1 + random() % 10, ' ');
                for (char& c : word)
                    c = static_cast<char>('a' + random() % 26);
            } while (word.find("zqxjv") != std::string::npos);
            line += word;
        }
        line += '\n';
        const long room = total - written;
        const long size = std::min(static_cast<long>(line.size()), room);
        out.write(line.data(), size);
        written += size;
    }
    return out ? 0 : 1;
}

double seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int search(const char* path, const std::string& phrase, int runs) {
    velmaro::platform::CodePage::select("UTF-8");
    velmaro::BuildCharTables();
    const velmaro::TStringVariants variants = velmaro::MakeStringVariants(phrase);
    double bestWall = 1e300, bestCpu = 1e300;
    bool found = false;
    for (int run = 0; run < runs; ++run) {
        const double wallStart = seconds(CLOCK_MONOTONIC),
                     cpuStart = seconds(CLOCK_PROCESS_CPUTIME_ID);
        found = velmaro::SearchFile(path, variants, {});
        bestWall = std::min(bestWall, seconds(CLOCK_MONOTONIC) - wallStart);
        bestCpu = std::min(bestCpu, seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart);
    }
    std::printf("%.6f %.6f %s\n", bestWall, bestCpu, found ? "found" : "not-found");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "generate" && argc == 4)
            return generate(argv[2], std::atol(argv[3]));
        if (mode == "search" && argc == 5)
            return search(argv[2], argv[3], std::max(1, std::atoi(argv[4])));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "content_bench: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: content_bench generate FILE MIB | search FILE PHRASE RUNS\n");
    return 2;
}
