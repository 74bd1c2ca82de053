// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// One row of the junk-type catalogue. Every text is a string literal that lives as long as the
// program.
//   mask         the file-name wildcard the row contributes to a search; ASCII, so it is used
//                as an 8-bit string as it stands (search criteria, value name in the settings)
//   description  the Russian text shown beside the mask, UTF-8; a display turns it into a
//                QString with QString::fromUtf8, never through the 8-bit code page
//   key          the category ("TempFile", "ChFile", "OldFile", "BackupFile", "LogFile",
//                "ErrorFile", "IndexFile", "IntermediateFile"); carried with the row only
//   recommended  the flag as the row carries it: "1" recommended, "0" not
struct JunkType {
    std::string_view mask;
    std::string_view description;
    std::string_view key;
    std::string_view recommended;

    // Whether the flag says "1".
    bool isRecommended() const { return recommended == "1"; }
};

// Which catalogue rows a preset takes.
enum class JunkSelection { Recommended, All };

// The fixed catalogue: 42 rows in display order. The same table feeds the main window and
// velmaro-find.
std::span<const JunkType> junkCatalogue();

// The masks of the selected rows, in catalogue order.
std::vector<std::string_view> junkMasks(JunkSelection selection);

// The masks of the selected rows joined for a search's FileName: each mask followed by ";",
// as the main window builds it from checked rows ("*.diz;*.tmp;...;").
std::string junkMaskString(JunkSelection selection);

} // namespace velmaro
