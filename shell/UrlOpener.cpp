// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/UrlOpener.h"

#include <QDesktopServices>

namespace velmaro {

namespace {

std::function<void(const QUrl&)>& opener() {
    static std::function<void(const QUrl&)> current;
    return current;
}

} // namespace

void OpenUrl(const QUrl& url) {
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void SetUrlOpener(std::function<void(const QUrl&)> replacement) {
    opener() = std::move(replacement);
}

} // namespace velmaro
