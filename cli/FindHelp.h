// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// The text velmaro-find prints for --help.
const char* FindHelpText();

} // namespace velmaro
