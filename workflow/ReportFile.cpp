#include "workflow/ReportFile.h"

#include <fstream>

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

bool WriteReportFile(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\r\n";
    out.close();
    return !out.fail();
}

} // namespace velmaro
