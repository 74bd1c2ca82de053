// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzz target with a message when a property of the code under test does not hold;
// libFuzzer (and the corpus driver) then report the input as a crash.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, what);                         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
