// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StringList.h"

#include <cstdint>
#include <string>

namespace velmaro {

// One folder to search, with the masks to look for there and how deep to go.
struct TTargetPath {
    std::string Folder;         // absolute, ending in "/"
    TStringList Masks;          // in the order added; duplicates stay
    bool Subfolders = false;    // whether the walk descends below Folder
    std::uint16_t MinLevel = 0; // first level whose files are reported (Folder is level 1)
    std::uint16_t MaxLevel = 0; // deepest level walked; 0 means no limit
};

} // namespace velmaro
