// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ThreadPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr int NiceMin = -20;
constexpr int NiceMax = 19;

} // namespace

bool SetCurrentThreadPriority(int priority) {
    int offset = 0;
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
        offset = NiceMax - NiceMin;
        break;
    case THREAD_PRIORITY_LOWEST:
        offset = 10;
        break;
    case THREAD_PRIORITY_BELOW_NORMAL:
        offset = 5;
        break;
    case THREAD_PRIORITY_NORMAL:
        offset = 0;
        break;
    case THREAD_PRIORITY_ABOVE_NORMAL:
        offset = -5;
        break;
    case THREAD_PRIORITY_HIGHEST:
        offset = -10;
        break;
    case THREAD_PRIORITY_TIME_CRITICAL:
        offset = NiceMin - NiceMax;
        break;
    default:
        return false;
    }
    errno = 0;
    const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    if (base == -1 && errno != 0) {
        return false;
    }
    const int nice = std::clamp(base + offset, NiceMin, NiceMax);
    return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice) == 0;
}

} // namespace velmaro::platform
