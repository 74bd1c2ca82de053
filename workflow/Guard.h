// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <utility>

class QWidget;

namespace velmaro {

// Shows an error that escaped a handler in the standard error box: the error's text, the
// application name ("Velmaro 2") as title, the error icon. what() is read as UTF-8, the form
// in which the settings store and the engine raise their texts; null error stands for an error
// that is no std::exception.
void ShowErrorBox(QWidget* parent, const std::exception* error);

// Runs handler; an error it throws is shown by ShowErrorBox and the rest of the handler's work
// is abandoned, as the framework of a desktop program does for every event. Returns false when
// the handler threw.
template <class Handler>
bool RunGuarded(QWidget* parent, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(parent, &error);
    } catch (...) {
        ShowErrorBox(parent, nullptr);
    }
    return false;
}

} // namespace velmaro
