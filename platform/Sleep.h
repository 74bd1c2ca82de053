// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace velmaro::platform {

// Pauses the calling thread for Duration (the Windows Sleep). The pause lasts at least Duration
// and as little longer as the system allows: Linux lets a sleeping thread oversleep by its timer
// slack (50 µs by default, a twentieth of a 1 ms pause), so the slack is lifted while the thread
// sleeps and given back afterwards. A Duration of 0 or less returns at once.
void Sleep(std::chrono::microseconds Duration);

} // namespace velmaro::platform
