#include "engine/ThreadPriority.h"

namespace velmaro {

int PlatformThreadPriority(TThreadPriority Priority) {
    switch (Priority) {
    case tpIdle:
        return -15;
    case tpLowest:
        return -2;
    case tpLower:
        return -1;
    case tpNormal:
        return 0;
    case tpHigher:
        return 1;
    case tpHighest:
        return 2;
    case tpTimeCritical:
        return 15;
    }
    return 0;
}

} // namespace velmaro
