// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/JunkCatalogue.h"

#include <array>

namespace velmaro {

namespace {

// Two descriptions end in a blank and one reads "восстановения": the texts are kept exactly as
// the program has always shown them.
constexpr std::array<JunkType, 42> kCatalogue{{
    {"*.diz", "Временный файл", "TempFile", "1"},
    {"*.tmp", "Временный файл", "TempFile", "1"},
    {"*.temp", "Временный файл", "TempFile", "1"},
    {"*.chk", "Файл восстановения", "ChFile", "1"},
    {"*.old", "Старый файл", "OldFile", "0"},
    {"*.gid", "Временный файл", "TempFile", "1"},
    {"*.nch", "Временный файл", "TempFile", "0"},
    {"*.wbk", "Резервный файл", "BackupFile", "0"},
    {"*.fts", "Временный файл", "TempFile", "1"},
    {"*.ftg", "Временный файл", "TempFile", "1"},
    {"*.$$$", "Старый файл", "OldFile", "1"},
    {"*log.txt", "Лог файл", "LogFile", "0"},
    {"*.err", "Файл ошибки", "ErrorFile", "1"},
    {"*.---", "Временный файл", "TempFile", "1"},
    {"*.~*", "Временный файл", "TempFile", "1"},
    {"~*.*", "Временный файл", "TempFile", "1"},
    {"*.??$", "Временный файл", "TempFile", "1"},
    {"*.___", "Временный файл", "TempFile", "1"},
    {"*.log", "Лог файл", "LogFile", "0"},
    {"*.~mp", "Временный файл", "TempFile", "1"},
    {"*._mp", "Временный файл", "TempFile", "1"},
    {"*.dmp", "Временный файл", "TempFile", "1"},
    {"*.prv", "Старый файл", "OldFile", "0"},
    {"*.sik", "Резервный файл", "BackupFile", "0"},
    {"*.bak", "Резервный файл", "BackupFile", "0"},
    {"thumbs.db", "Файл индекса", "IndexFile", "0"},
    {"CHKLIST.MS", "Временный файл", "TempFile", "1"},
    {"*.ilk", "Промежуточный файл", "IntermediateFile", "0"},
    {"*.aps", "Промежуточный файл", "IntermediateFile", "0"},
    {"*.ncb", "Промежуточный ", "IntermediateFile", "0"},
    {"*.pch", "Промежуточный ", "IntermediateFile", "0"},
    {"*.$db", "Временный файл", "TempFile", "1"},
    {"*.?$?", "Временный файл", "TempFile", "1"},
    {"*.??~", "Временный файл", "TempFile", "1"},
    {"*.?~?", "Временный файл", "TempFile", "1"},
    {"*.db$", "Временный файл", "TempFile", "1"},
    {"*.^", "Временный файл", "TempFile", "0"},
    {"*._dd", "Временный файл", "TempFile", "0"},
    {"*._detmp", "Временный файл", "TempFile", "0"},
    {"chklist.*", "Временный файл", "TempFile", "1"},
    {"mscreate.dir", "Временный файл", "TempFile", "1"},
    {"*.log?", "Лог файл", "LogFile", "0"},
}};

} // namespace

std::span<const JunkType> junkCatalogue() {
    return kCatalogue;
}

std::vector<std::string_view> junkMasks(JunkSelection selection) {
    std::vector<std::string_view> masks;
    for (const JunkType& row : kCatalogue) {
        if (selection == JunkSelection::All || row.isRecommended()) {
            masks.push_back(row.mask);
        }
    }
    return masks;
}

std::string junkMaskString(JunkSelection selection) {
    std::string text;
    for (std::string_view mask : junkMasks(selection)) {
        text.append(mask);
        text.push_back(';');
    }
    return text;
}

} // namespace velmaro
