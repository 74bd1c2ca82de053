// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace velmaro::test {

// The answer of a check run in a private mount namespace.
enum class Namespaced { passed, failed, unavailable };

// Runs check in a forked child with a mount namespace of its own, so that the mounts it makes
// vanish with it. Unavailable when the child cannot have one (it needs root and unshare), or
// when check ends the child with _exit(2) because a mount it needs cannot be made. The child
// ends with _exit, so check must not rely on anything the process does at its exit.
Namespaced inPrivateMountNamespace(const std::function<bool()>& check);

} // namespace velmaro::test
