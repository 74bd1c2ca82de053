// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The file name a report is saved under from the window: the chosen name, with ".txt"
// appended unless its extension (from its last "." to the end) is ".txt" in any letter case.
// So "report" and "report.log" gain ".txt", "report." becomes "report..txt", "report.TXT"
// stays.
std::string ReportFileName(std::string chosen);

// Writes lines to stream, each followed by lineEnd, the bytes unchanged, and flushes it.
// Returns false when not everything could be written.
bool WriteReportLines(std::FILE* stream, const std::vector<std::string>& lines,
                      std::string_view lineEnd);

// Writes lines to the file at path (raw bytes), creating or replacing it, each line ended by
// CR LF, the bytes unchanged. Returns false when the file could not be written completely.
bool WriteReportFile(const std::string& path, const std::vector<std::string>& lines);

} // namespace velmaro
