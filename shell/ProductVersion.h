// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro {

// The product version text of the running program ("2.25 beta" in this build), read from
// the version resource of its own file. Empty when the file carries no resource, no
// translation of at least 4 bytes, or no ProductVersion value of more than its terminator.
std::string GetProductVersion();

// The same for the program file at programFile.
std::string ProductVersionOf(const std::string& programFile);

// The same for a version resource held in memory: the ProductVersion value in the string
// table named by the first translation (language and code page as 4+4 upper-case hex digits).
std::string ProductVersionIn(std::string_view resource);

} // namespace velmaro
