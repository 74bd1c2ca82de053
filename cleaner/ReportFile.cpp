// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/ReportFile.h"

namespace velmaro {

namespace {

bool isTxtExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4)
        return false;
    const char* expected = "txt";
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = name[dot + 1 + i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != expected[i])
            return false;
    }
    return true;
}

} // namespace

std::string ReportFileName(std::string chosen) {
    if (!isTxtExtension(chosen))
        chosen += ".txt";
    return chosen;
}

bool WriteReportLines(std::FILE* stream, const std::vector<std::string>& lines,
                      std::string_view lineEnd) {
    bool written = true;
    for (const std::string& line : lines)
        written = written && std::fwrite(line.data(), 1, line.size(), stream) == line.size() &&
                  std::fwrite(lineEnd.data(), 1, lineEnd.size(), stream) == lineEnd.size();
    return std::fflush(stream) == 0 && written;
}

bool WriteReportFile(const std::string& path, const std::vector<std::string>& lines) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = WriteReportLines(file, lines, "\r\n");
    return std::fclose(file) == 0 && written;
}

} // namespace velmaro
