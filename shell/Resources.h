// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// Registers the program's pictures, skins and icon (the ":/" resources). The resources live in
// a static library, so the program must register them before first use; repeated calls are
// harmless.
void InitResources();

} // namespace velmaro
