// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace velmaro {

// Shows an error that escaped from work on a worker thread: ClassName is the exception's
// class without its namespace ("EConvertError"), Message its text. The desktop program shows
// the box "Application Error"; the default writes one line to standard error.
using TApplicationErrorHook =
    std::function<void(const std::string& ClassName, const std::string& Message)>;

// Makes Hook the way errors are shown, for every thread, and returns the hook in force before.
// An empty Hook brings back the default.
TApplicationErrorHook SetApplicationErrorHook(TApplicationErrorHook Hook);

// Shows the exception being handled through the hook. Call it only inside a catch block.
void ShowCurrentException();

} // namespace velmaro
