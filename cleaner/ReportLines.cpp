// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/ReportLines.h"

#include "cleaner/SizeText.h"
#include "platform/CodePage.h"
#include "platform/Utf16.h"

namespace velmaro {

namespace {

constexpr std::size_t SeparatorLength = 60;

// UTF-8 text in the system's code page. Under a UTF-8 code page the bytes stay as they are.
std::string codePageText(std::string_view utf8) {
    const platform::CodePage& codePage = platform::CodePage::system();
    if (codePage.isUtf8())
        return std::string(utf8);
    const std::optional<std::string> units = platform::Utf8ToUtf16Le(utf8);
    if (!units)
        return std::string(utf8.size(), '?');
    std::u16string text;
    text.reserve(units->size() / 2);
    for (std::size_t i = 0; i + 1 < units->size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>((*units)[i]) |
                                             static_cast<unsigned char>((*units)[i + 1]) << 8));
    return codePage.fromUtf16(text);
}

} // namespace

std::vector<std::string> ReportLines(const ReportInput& Input) {
    std::vector<std::string> lines;
    lines.reserve(4 + (Input.FailedFiles.empty() ? 0 : 5 + Input.FailedFiles.size()));
    lines.push_back(codePageText(Input.Date));
    lines.push_back(codePageText(Input.SearchSummary));
    lines.push_back(codePageText("Удалено файлов: " + std::to_string(Input.DeletedCount)));
    lines.push_back(
        codePageText("Очищено маста: " +
                     SizeToText(static_cast<double>(Input.FreedSize), Input.DecimalSeparator)));
    if (Input.FailedFiles.empty())
        return lines;
    const std::string separator(SeparatorLength, '-');
    lines.emplace_back();
    lines.push_back(codePageText("Не удалось удалить следующие файлы:"));
    lines.push_back(separator);
    lines.insert(lines.end(), Input.FailedFiles.begin(), Input.FailedFiles.end());
    lines.push_back(separator);
    return lines;
}

} // namespace velmaro
