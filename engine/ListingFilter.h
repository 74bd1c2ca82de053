// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/AttributesCriteria.h"
#include "platform/FolderListing.h"

#include <cstdint>
#include <string_view>

namespace velmaro {

// Tells, from what a folder listing already knows of an entry (its name and the kind the
// directory reports), whether the entry can still pass the attribute criteria. The walk asks
// it before it describes an entry, so that entries that cannot match cost no stat call.
// It only rejects entries the full test would reject too.
class ListingFilter {
public:
    // Takes the statuses of Criteria; later changes of Criteria are not seen.
    void reset(const TAttributesCriteria& Criteria);

    // False when an entry of this name and kind certainly fails the attribute criteria.
    bool mayPass(std::string_view Name, platform::FolderListing::EntryKind Kind) const;

private:
    std::uint32_t m_set = 0;
    std::uint32_t m_unset = 0;
    std::uint32_t m_anySet = 0;
    std::uint32_t m_anyUnset = 0;
};

} // namespace velmaro
