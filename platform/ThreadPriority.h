// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro::platform {

// The Windows thread priority levels relative to the process's base priority.
inline constexpr int THREAD_PRIORITY_IDLE = -15;
inline constexpr int THREAD_PRIORITY_LOWEST = -2;
inline constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
inline constexpr int THREAD_PRIORITY_NORMAL = 0;
inline constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
inline constexpr int THREAD_PRIORITY_HIGHEST = 2;
inline constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;

// SetThreadPriority(GetCurrentThread(), priority). On Linux a thread's priority is its own nice
// value: the level becomes an offset to the process's nice value (lowest +10, below normal +5,
// above normal -5, highest -10, idle and time critical the ends of the range), clamped to the
// range. Returns false for a level that is none of the seven above, and when the system refuses,
// which it does for a higher priority without privileges; the priority then stays as it was.
bool SetCurrentThreadPriority(int priority);

} // namespace velmaro::platform
