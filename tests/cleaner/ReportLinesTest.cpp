// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/ReportLines.h"

#include "cleaner/SearchSummary.h"
#include "support/CodePageFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaro {
namespace {

using Lines = std::vector<std::string>;

class ReportLinesTest : public testing::CodePageFixture {};

TEST_F(ReportLinesTest, WithoutFailuresTheReportHasFourLines) {
    const std::string summary = SearchSummaryLine(DurationText(62'003, ":"));
    EXPECT_EQ(summary, "Продолжительность поиска: 1:02.003.");
    EXPECT_EQ(ReportLines({"10.12.2026", summary, ",", 0, 0, {}}),
              (Lines{"10.12.2026", summary, "Удалено файлов: 0", "Очищено маста: 0 b"}));
    EXPECT_EQ(ReportLines({"12/10/26", summary, ",", 3, 1536, {}})[3], "Очищено маста: 1,5 Kb");
}

TEST_F(ReportLinesTest, FailuresFollowBetweenSeparatorsAsRawBytesInTheCodePage) {
    useCodePage("CP1251");
    const std::string odd = "/data/\xFF\xE9t\xE9.tmp";
    const std::string utf8 = "/data/caf\xC3\xA9.tmp";
    const std::vector<std::string> failed{odd, utf8};
    const Lines lines =
        ReportLines({"10.12.2026", SearchSummaryLine("0:01.250"), ",", 12, 1001, failed});
    const std::string separator(60, '-');
    EXPECT_EQ(lines, (Lines{"10.12.2026",
                            "\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xE5\xEB\xFC\xED\xEE\xF1\xF2\xFC "
                            "\xEF\xEE\xE8\xF1\xEA\xE0: 0:01.250.",
                            "\xD3\xE4\xE0\xEB\xE5\xED\xEE \xF4\xE0\xE9\xEB\xEE\xE2: 12",
                            "\xCE\xF7\xE8\xF9\xE5\xED\xEE \xEC\xE0\xF1\xF2\xE0: 0,98 Kb", "",
                            "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xF3\xE4\xE0\xEB\xE8\xF2\xFC "
                            "\xF1\xEB\xE5\xE4\xF3\xFE\xF9\xE8\xE5 \xF4\xE0\xE9\xEB\xFB:",
                            separator, odd, utf8, separator}));
}

} // namespace
} // namespace velmaro
