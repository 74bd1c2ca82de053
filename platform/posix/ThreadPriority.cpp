#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

// Windows priorities run from -15 (idle) to 15 (time critical); nice values from 19 (lowest)
// to -20 (highest). The steps in between keep their order.
int niceValueFor(int windowsPriority) {
    if (windowsPriority <= -15)
        return 19;
    if (windowsPriority >= 15)
        return -20;
    if (windowsPriority < 0)
        return windowsPriority <= -2 ? 10 : 5;
    if (windowsPriority > 0)
        return windowsPriority >= 2 ? -10 : -5;
    return 0;
}

} // namespace

bool setCurrentThreadPriority(int WindowsPriority) {
    // On Linux the nice value belongs to each thread, addressed by its thread id.
    return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceValueFor(WindowsPriority)) ==
           0;
}

} // namespace velmaro::platform
