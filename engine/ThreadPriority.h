// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// The priority of a worker thread.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The platform thread priority that Priority selects (-15, -2, -1, 0, 1, 2, 15).
int PlatformThreadPriority(TThreadPriority Priority);

} // namespace velmaro
