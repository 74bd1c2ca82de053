#pragma once

namespace velmaro::platform {

// Gives the calling thread the scheduling priority that a Windows thread priority selects
// (-15 idle, -2 lowest, -1 below normal, 0 normal, 1 above normal, 2 highest, 15 time
// critical). On Linux this is the thread's nice value. Returns false when the system refuses
// (raising a priority needs privileges); the thread then keeps the priority it had.
bool setCurrentThreadPriority(int WindowsPriority);

} // namespace velmaro::platform
