// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DateTime.h"
#include "platform/FileIdentity.h"

#include <cstdint>
#include <string>

namespace velmaro {

// What OnFileMatch receives for one match. The full path is Location followed by Name, both
// the bytes the system gave. The record lives only for the duration of the event call.
struct TFileDetails {
    std::string Location; // the folder walked, absolute, ending in "/"
    std::string Name;     // the entry's name without folder
    std::uint32_t Attributes = 0;
    std::int64_t Size = 0;
    TDateTime CreatedTime = 0; // the three times in local time
    TDateTime ModifiedTime = 0;
    TDateTime AccessedTime = 0;
    // Not part of the design's record: the file's identity as the walk described it, so that a
    // later deletion removes only this very file.
    platform::FileIdentity Identity;
};

} // namespace velmaro
