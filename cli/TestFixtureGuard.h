// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// In a build with the test programs (VELMARO_BUILD_TESTS), arms the fixture guard from the
// environment: when VELMARO_FIXTURE_ROOTS is set, velmaro-find changes nothing outside the
// folders it names (absolute paths separated by ":"), so that a test's run of the real program
// can touch only its fixture tree. Returns false, after a message on standard error, when the
// variable names a folder the guard cannot take. In other builds (the package) it does
// nothing and returns true: there the variable means nothing. Call it once, first thing.
bool ApplyTestFixtureGuard();

} // namespace velmaro
