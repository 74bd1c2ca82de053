// SPDX-License-Identifier: GPL-3.0-or-later
// Time to read a large valid settings file, as the main window does at start.
//   velmaro-bench-settings-read [MiB ...]   (default: 1 and 4, the largest file read)
//   velmaro-bench-settings-read --write FILE MiB
// For each size: a registry export of that size (half of it values of one key, half keys with
// one value each) is written to a temporary folder and read 9 times; the median is printed.
// With --write, only the export of that size is written to FILE, for bench/window-startup.sh to
// start the window with.

#include "platform/Registry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\bench";

// Begins with the program's own keys, as in a file the program wrote, so that a window started
// with it finds nothing to add and only reads it.
std::string largeExport(std::size_t size) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\software\\Quarno Labs]\r\n\r\n"
                       "[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2]\r\n\r\n[" +
                       kKey + "]\r\n";
    for (int i = 0; text.size() < size / 2; ++i)
        text += "\"value " + std::to_string(i) + "\"=\"" + std::string(20, 'x') + "\"\r\n";
    // Keys are added while they fit, so that the file is at most size bytes.
    for (int i = 0;; ++i) {
        const std::string key =
            "\r\n[" + kKey + "\\sub " + std::to_string(i) + "]\r\n\"v\"=dword:00000001\r\n";
        if (text.size() + key.size() + 2 > size)
            break;
        text += key;
    }
    return text + "\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--write") {
        const std::string text =
            largeExport(static_cast<std::size_t>(std::atof(argv[3]) * 1024 * 1024));
        return std::ofstream(argv[2], std::ios::binary)
                       .write(text.data(), static_cast<long>(text.size()))
                   ? 0
                   : 1;
    }
    std::vector<double> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atof(argv[i]));
    if (sizes.empty())
        sizes = {1, 4};
    char pattern[] = "/tmp/velmaro-settings-bench-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string path = std::string(pattern) + "/Velmaro 2.reg";
    for (const double mib : sizes) {
        const std::string text = largeExport(static_cast<std::size_t>(mib * 1024 * 1024));
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
        const velmaro::platform::Registry registry(path);
        std::vector<double> times;
        std::size_t keys = 0;
        for (int run = 0; run < 9; ++run) {
            const auto start = std::chrono::steady_clock::now();
            keys = registry.read().keys().size();
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%8zu bytes, %6zu keys: read in %.1f ms (median of 9)\n", text.size(), keys,
                    times[4]);
    }
    std::filesystem::remove_all(pattern);
    return 0;
}
