// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StringList.h"
#include "engine/TargetPath.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The ordered list of folders a search walks. It owns its targets. A later entry for a folder
// already in the list updates that target in place and keeps its position, so no two targets
// share a folder. Folders compare byte for byte: Linux file systems tell letter case apart, and
// merging "/data/A/" with "/data/a/" would leave one of them unsearched.
//
// Entries name a folder, optionally after one marker that overrides the criteria's settings:
//   folder          Subfolders, MinLevel, MaxLevel as given
//   ">" folder      Subfolders true
//   N ">" folder    Subfolders true, MinLevel 0, MaxLevel N
//   A "-" B ">" f.  Subfolders true, MinLevel A, MaxLevel B
//   "<" folder      Subfolders false
class TTargetPaths {
public:
    TTargetPaths() = default;
    TTargetPaths(const TTargetPaths&) = delete;
    TTargetPaths& operator=(const TTargetPaths&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }

    // The target at Index; throws std::out_of_range when Index is not below Count().
    TTargetPath& Items(int Index) const;

    // The target whose Folder equals Folder byte for byte, or nullptr. The list keeps it.
    TTargetPath* FindFolder(std::string_view Folder) const;

    // The target for the location entry Text (markers, then a folder), made or updated: its
    // Folder, Subfolders and levels become those of Text (markers applied over the given
    // values), and Masks' entries are appended to its masks ("*.*" when Masks is null or
    // empty). The list keeps the target.
    TTargetPath& AddFolder(std::string_view Text, const TStringList* Masks, bool Subfolders,
                           std::uint16_t MinLevel, std::uint16_t MaxLevel);

    // The target for FileSpec: markers, a folder and one mask, split at the last "/" (either
    // part may be empty; an empty mask is taken as "*.*"). Made or updated as by AddFolder.
    TTargetPath& AddFile(std::string_view FileSpec, bool Subfolders, std::uint16_t MinLevel,
                         std::uint16_t MaxLevel);

    // Reads the markers of Text into Subfolders, MinLevel and MaxLevel (which come in with the
    // values to keep when no marker overrides them) and sets Folder to the folder it names:
    // trimmed, made absolute against the current folder, ending in "/". A level that is not a
    // 32-bit integer leaves its value unchanged; a valid one is stored as its low 16 bits.
    // Never fails.
    static void ParseLocation(std::string_view Text, bool& Subfolders, std::string& Folder,
                              std::uint16_t& MinLevel, std::uint16_t& MaxLevel);

private:
    TTargetPath& place(const std::string& Folder, bool Subfolders, std::uint16_t MinLevel,
                       std::uint16_t MaxLevel);

    std::vector<std::unique_ptr<TTargetPath>> m_items;
};

} // namespace velmaro
