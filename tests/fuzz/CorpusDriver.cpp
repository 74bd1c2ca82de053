// SPDX-License-Identifier: GPL-3.0-or-later
// A main for the fuzz targets where libFuzzer is not linked: runs the target once on every
// file given, or on every file of a folder given, so that the corpus (with the inputs that
// once crashed a parser) is a regression test of every build.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void runOn(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    std::size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        if (!std::filesystem::is_directory(given)) {
            runOn(given);
            ++inputs;
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(given)) {
            if (entry.is_regular_file()) {
                runOn(entry.path());
                ++inputs;
            }
        }
    }
    if (inputs == 0) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    std::printf("%zu inputs ran without a fault\n", inputs);
    return 0;
}
