// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindProgram.h"

#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmaro::test {

namespace {

constexpr const char* NoFixture = "VELMARO_FIXTURE_ROOTS=/velmaro-tests-change-nothing";

} // namespace

ProgramRun runFind(std::vector<std::string> arguments, std::vector<std::string> environment,
                   const std::function<void(pid_t)>& started) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {};
    environment.insert(environment.begin(), NoFixture);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        for (std::string& setting : environment)
            putenv(setting.data());
        std::vector<char*> argv{const_cast<char*>(VELMARO_FIND_PATH)};
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    if (started && child > 0)
        started(child);
    ProgramRun run;
    // Both pipes are read as the program writes them, so that neither can fill and stall it.
    pollfd pipes[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* texts[2] = {&run.out, &run.err};
    for (int open = 2; open > 0;) {
        if (poll(pipes, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (pipes[i].fd < 0 || pipes[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = read(pipes[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                close(pipes[i].fd);
                pipes[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace velmaro::test
