// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/CleanerPreset.h"

#include <string>

namespace velmaro {

namespace {

constexpr std::string_view pathFilters[] = {
    ">/var/tmp/*", "/bin/*", "/boot/*",         "/efi/*",     "/etc/*",
    "/lib*",       "/opt/*", "/sbin/*",         "/snap/*",    "/srv/*",
    "/usr/*",      "/var/*", "*/COMMON FILES*", "*/*Office*", "*/.local/share/Trash/*",
    "*/.Trash-*",
};

} // namespace

std::span<const std::string_view> CleanerPathFilters() {
    return pathFilters;
}

void ApplyCleanerPreset(TSearchCriteria& Criteria) {
    TStringList& filters = Criteria.Files().Filters();
    filters.Clear();
    for (const std::string_view filter : pathFilters)
        filters.Add(filter);
    Criteria.Attributes().SetHidden(fsIgnore);
    Criteria.Attributes().SetSystem(fsIgnore);
}

} // namespace velmaro
