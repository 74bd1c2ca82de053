// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ListingFilter.h"

#include "platform/FileAttributes.h"

namespace velmaro {

namespace {

using platform::FolderListing;
using namespace platform;

// The bits the system never sets on Linux: known to be clear for every entry.
constexpr std::uint32_t neverSet =
    ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY |
      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT);

struct KnownBits {
    std::uint32_t known; // the bits whose value the listing tells
    std::uint32_t value; // their values
};

// What a name and an entry kind tell of the attribute word. A folder may be a mount point and
// a link may point to a folder, so those bits stay unknown for them; the write bits need a stat.
KnownBits knownBits(std::string_view name, FolderListing::EntryKind kind) {
    KnownBits bits{neverSet | FILE_ATTRIBUTE_HIDDEN, 0};
    if (name.front() == '.' && name != "." && name != "..")
        bits.value |= FILE_ATTRIBUTE_HIDDEN;
    switch (kind) {
    case FolderListing::EntryKind::File:
        bits.known |= FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                      FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_ARCHIVE;
        bits.value |= FILE_ATTRIBUTE_ARCHIVE;
        break;
    case FolderListing::EntryKind::Directory:
        bits.known |= FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_ARCHIVE;
        bits.value |= FILE_ATTRIBUTE_DIRECTORY;
        break;
    case FolderListing::EntryKind::Link:
        bits.known |= FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
        bits.value |= FILE_ATTRIBUTE_REPARSE_POINT;
        break;
    case FolderListing::EntryKind::Other:
        bits.known |= FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                      FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_ARCHIVE;
        bits.value |= FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_ARCHIVE;
        break;
    case FolderListing::EntryKind::Unknown:
        break;
    }
    return bits;
}

} // namespace

void ListingFilter::reset(const TAttributesCriteria& Criteria) {
    m_set = m_unset = m_anySet = m_anyUnset = 0;
    for (int index = 1; index <= 32; ++index) {
        const std::uint32_t bit = std::uint32_t{1} << (index - 1);
        switch (Criteria.Get(index)) {
        case fsSet:
            m_set |= bit;
            break;
        case fsUnset:
            m_unset |= bit;
            break;
        case fsAnySet:
            m_anySet |= bit;
            break;
        case fsAnyUnset:
            m_anyUnset |= bit;
            break;
        case fsIgnore:
            break;
        }
    }
}

bool ListingFilter::mayPass(std::string_view Name, FolderListing::EntryKind Kind) const {
    const KnownBits bits = knownBits(Name, Kind);
    if ((m_set & bits.known & ~bits.value) != 0 || (m_unset & bits.known & bits.value) != 0)
        return false;
    // An "any" group fails for certain only when the listing tells every bit of it.
    if (m_anySet != 0 && (m_anySet & ~bits.known) == 0 && (m_anySet & bits.value) == 0)
        return false;
    if (m_anyUnset != 0 && (m_anyUnset & ~bits.known) == 0 && (m_anyUnset & ~bits.value) == 0)
        return false;
    return true;
}

} // namespace velmaro
