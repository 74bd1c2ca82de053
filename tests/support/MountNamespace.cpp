// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountNamespace.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaro::test {

Namespaced inPrivateMountNamespace(const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return Namespaced::failed;
    return WEXITSTATUS(status) == 0   ? Namespaced::passed
           : WEXITSTATUS(status) == 2 ? Namespaced::unavailable
                                      : Namespaced::failed;
}

} // namespace velmaro::test
