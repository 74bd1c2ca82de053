// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FixtureRoots.h"

#include "platform/posix/PathComponents.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace velmaro::platform {

namespace {

struct Guard {
    std::mutex mutex;
    bool armed = false;
    std::vector<std::vector<std::string>> roots;
};

Guard& guard() {
    static Guard instance;
    return instance;
}

std::vector<std::string> ownedComponents(const std::vector<std::string_view>& components) {
    return {components.begin(), components.end()};
}

} // namespace

bool RegisterFixtureRoot(std::string_view root) {
    const auto components = SplitAbsolutePath(root);
    if (!components)
        return false;
    Guard& g = guard();
    std::lock_guard lock(g.mutex);
    g.armed = true;
    g.roots.push_back(ownedComponents(*components));
    return true;
}

void UnregisterFixtureRoot(std::string_view root) {
    const auto components = SplitAbsolutePath(root);
    if (!components)
        return;
    const std::vector<std::string> key = ownedComponents(*components);
    Guard& g = guard();
    std::lock_guard lock(g.mutex);
    const auto found = std::find(g.roots.begin(), g.roots.end(), key);
    if (found != g.roots.end())
        g.roots.erase(found);
}

bool FixtureGuardAllows(std::string_view path) {
    Guard& g = guard();
    std::lock_guard lock(g.mutex);
    if (!g.armed)
        return true;
    const auto components = SplitAbsolutePath(path);
    if (!components)
        return false;
    return std::any_of(g.roots.begin(), g.roots.end(), [&](const std::vector<std::string>& root) {
        return components->size() > root.size() &&
               std::equal(root.begin(), root.end(), components->begin());
    });
}

} // namespace velmaro::platform
