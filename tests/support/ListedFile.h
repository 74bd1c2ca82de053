// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FileDetails.h"
#include "platform/FolderListing.h"

#include <cstdint>
#include <string>

namespace velmaro::test {

// The record a search reports for the file at Path: its folder (ending in "/") and name as
// bytes, and, where the file exists, its size and identity as the folder's listing describes
// them. A file that does not exist gets Size and no identity. Times are left at 0.
inline TFileDetails listedFile(const std::string& Path, std::int64_t Size = 0) {
    const std::size_t slash = Path.rfind('/');
    TFileDetails details;
    details.Location = Path.substr(0, slash + 1);
    details.Name = Path.substr(slash + 1);
    details.Size = Size;
    platform::FolderListing listing;
    if (!listing.open(details.Location))
        return details;
    platform::FindData data;
    for (std::size_t i = 0; i < listing.count(); ++i)
        if (listing.name(i) == details.Name && listing.describe(i, data)) {
            details.Attributes = data.dwFileAttributes;
            details.Size = static_cast<std::int64_t>((std::uint64_t{data.nFileSizeHigh} << 32) |
                                                     data.nFileSizeLow);
            details.Identity = data.Identity;
        }
    return details;
}

} // namespace velmaro::test
