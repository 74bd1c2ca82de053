// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace velmaro::test {

// The user and group the tests switch to when they must give up the rights of root.
inline constexpr unsigned UnprivilegedId = 65534;

// Runs check without the rights of root and returns its answer: in a forked child that
// switches to UnprivilegedId when the tests run as root (root passes every permission check),
// in this process otherwise. The child ends with _exit, so check must not rely on anything
// the process does at its exit.
bool runUnprivileged(const std::function<bool()>& check);

} // namespace velmaro::test
