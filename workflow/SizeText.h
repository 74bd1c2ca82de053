// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmaro {

// The size text of a byte count (see cleaner/SizeText.h) with the decimal separator of the
// default QLocale, as the window shows it. GUI thread, or any thread that leaves the default
// QLocale alone.
QString SizeToText(double Value);

} // namespace velmaro
