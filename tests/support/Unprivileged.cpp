// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace velmaro::test {

bool runUnprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(UnprivilegedId) == 0 && setuid(UnprivilegedId) == 0;
        _exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace velmaro::test
