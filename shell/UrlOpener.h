// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <functional>

namespace velmaro {

// Opens a web page in the user's default browser (QDesktopServices::openUrl), or through the
// opener that SetUrlOpener installed; the result is not reported. Call on the GUI thread.
void OpenUrl(const QUrl& url);

// Installs the function that OpenUrl calls instead of the browser (tests answer it); an
// empty function restores the browser.
void SetUrlOpener(std::function<void(const QUrl&)> opener);

} // namespace velmaro
