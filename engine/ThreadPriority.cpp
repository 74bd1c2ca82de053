// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ThreadPriority.h"

#include "platform/ThreadPriority.h"

namespace velmaro {

int PlatformThreadPriority(TThreadPriority Priority) {
    using namespace platform;
    switch (Priority) {
    case tpIdle:
        return THREAD_PRIORITY_IDLE;
    case tpLowest:
        return THREAD_PRIORITY_LOWEST;
    case tpLower:
        return THREAD_PRIORITY_BELOW_NORMAL;
    case tpNormal:
        return THREAD_PRIORITY_NORMAL;
    case tpHigher:
        return THREAD_PRIORITY_ABOVE_NORMAL;
    case tpHighest:
        return THREAD_PRIORITY_HIGHEST;
    case tpTimeCritical:
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

} // namespace velmaro
