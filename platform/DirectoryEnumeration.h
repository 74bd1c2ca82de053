#pragma once

#include "platform/EnumerationMask.h"
#include "platform/FindData.h"
#include "platform/FolderListing.h"

#include <cstddef>
#include <string_view>

namespace velmaro::platform {

// The FindFirstFileA / FindNextFileA / FindClose protocol: the entries of one folder whose
// names match one mask, in directory order, each described as a FindData record.
//
// Entries that vanish between the listing and their description are left out, as if the
// folder had been read a moment later. A walker that tests several masks against one folder
// should use FolderListing and EnumerationMask directly, so the folder is read only once.
class DirectoryEnumeration {
public:
    DirectoryEnumeration() = default;
    DirectoryEnumeration(const DirectoryEnumeration&) = delete;
    DirectoryEnumeration& operator=(const DirectoryEnumeration&) = delete;

    // FindFirstFileA: FileName is a folder and a mask, split at the last "/" ("/tmp/x/*.log";
    // no "/" means a mask in the current folder). Reads the folder and fills Data with the first
    // matching entry. Returns false when the folder cannot be read or no entry matches; the
    // enumeration is then closed.
    bool findFirst(std::string_view FileName, FindData& Data);

    // FindNextFileA: fills Data with the next matching entry. Returns false when there is none
    // more (or findFirst did not succeed).
    bool findNext(FindData& Data);

    // FindClose: releases the folder. Safe to call at any time, also twice.
    void close() { m_listing.close(); }

private:
    FolderListing m_listing;
    EnumerationMask m_mask;
    std::size_t m_next = 0;
};

} // namespace velmaro::platform
