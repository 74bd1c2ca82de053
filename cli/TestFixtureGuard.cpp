// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TestFixtureGuard.h"

#ifdef VELMARO_TEST_FIXTURE_GUARD
#include "platform/FixtureRoots.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#endif

namespace velmaro {

bool ApplyTestFixtureGuard() {
#ifdef VELMARO_TEST_FIXTURE_GUARD
    const char* roots = std::getenv("VELMARO_FIXTURE_ROOTS");
    if (!roots)
        return true;
    std::string_view rest = roots;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view root = rest.substr(0, colon);
        if (!platform::RegisterFixtureRoot(root)) {
            std::fprintf(stderr, "velmaro-find: VELMARO_FIXTURE_ROOTS: not a usable folder: %.*s\n",
                         static_cast<int>(root.size()), root.data());
            return false;
        }
        if (colon == std::string_view::npos)
            return true;
        rest.remove_prefix(colon + 1);
    }
#else
    return true;
#endif
}

} // namespace velmaro
