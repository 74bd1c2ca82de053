#pragma once

#include "engine/DateTime.h"

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
};

} // namespace velmaro
