// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SearchCriteria.h"

#include <span>
#include <string_view>

namespace velmaro {

// The path filters of the cleaner, in the order they are tested: /var/tmp stays searchable,
// the system's own folders are left alone (so a clean-up never touches the operating system),
// and so are files below a "Common Files" folder or with "Office" in their path, and the
// desktop's trash folders (the desktop empties them; deleting a trashed file behind its back
// leaves a .trashinfo entry that points at nothing).
std::span<const std::string_view> CleanerPathFilters();

// Sets Criteria up as the cleaner searches: its path filters replace the filters, and hidden
// and system entries are found and entered (Hidden and System ignored). Names, locations and
// every other setting stay as they are.
void ApplyCleanerPreset(TSearchCriteria& Criteria);

} // namespace velmaro
