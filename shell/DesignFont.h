// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// The windows are designed for Tahoma at 11 pixels: every column and label is sized for it.
// Where the system's fonts have no Tahoma, this loads the Tahoma of Debian's fonts-wine (regular
// and bold, with the metrics of the original) as an application font. Returns whether a Tahoma
// is there afterwards; when not, the windows fall back to the system font, and a list cell whose
// text that font makes too wide shows the whole text in its tooltip. GUI thread, once the
// application object exists.
bool LoadDesignFont();

} // namespace velmaro
