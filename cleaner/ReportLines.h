// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// What a deletion pass's report says. The texts come in UTF-8 from whoever formats them in
// the user's locale (the window through QLocale, velmaro-find through the C library).
struct ReportInput {
    std::string_view Date;             // today's date in the locale's short date format
    std::string_view SearchSummary;    // the summary line of the last search
    std::string_view DecimalSeparator; // the locale's decimal separator, for the freed size
    int DeletedCount = 0;
    std::int64_t FreedSize = 0;
    std::span<const std::string> FailedFiles; // full paths as raw bytes, in the order of the pass
};

// The report's lines as the bytes they are saved as: the date, the summary, "Удалено файлов: "
// with the count, "Очищено маста: " with the size text of the freed size; and, only when files
// failed, an empty line, "Не удалось удалить следующие файлы:", a line of 60 "-", every failed
// path, and the 60 "-" again. Every text is converted to the system's code page
// (platform::CodePage; a character it cannot hold becomes "?"); the failed paths are their raw
// bytes, unchanged. No line holds a line end. Any thread that leaves the code page alone.
std::vector<std::string> ReportLines(const ReportInput& Input);

} // namespace velmaro
