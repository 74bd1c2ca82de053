// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmaro::test {

// What one run of the real velmaro-find printed and how it ended.
struct ProgramRun {
    int status = -1; // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs velmaro-find (the build's own) with arguments, in the environment of the test plus the
// "NAME=value" entries of environment. Unless environment sets VELMARO_FIXTURE_ROOTS itself,
// the run gets one that names no real folder, so that it can change nothing at all: a test
// that lets the program delete names its fixture folders. started, when given, is called with
// the program's process id once it runs, before its output is read (to signal it, say).
ProgramRun runFind(std::vector<std::string> arguments, std::vector<std::string> environment = {},
                   const std::function<void(pid_t)>& started = {});

} // namespace velmaro::test
