// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmaro::platform {

// The guard that keeps test programs away from the machine's real files. Tests register the
// temporary folders they build their fixture trees in; from the first registration on, for the
// rest of the process, ListedFile's SetFileAttributes and DeleteFile refuse every path that
// does not lie below a registered root (also after its root was unregistered again). The
// program itself registers nothing, so there the guard never acts. Thread-safe.

// Adds an absolute folder path to the roots. Returns false, and registers nothing, for a
// relative path or one with a "." or ".." component.
bool RegisterFixtureRoot(std::string_view root);

// Removes a root registered before; the guard stays armed.
void UnregisterFixtureRoot(std::string_view root);

// Whether the guard lets the file system be changed at path: always when no root was ever
// registered; otherwise only when path lies strictly below a registered root, compared
// component by component, byte for byte.
bool FixtureGuardAllows(std::string_view path);

} // namespace velmaro::platform
