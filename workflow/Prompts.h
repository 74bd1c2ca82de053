// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace velmaro {

// Every message box and file dialog of the program goes through the installed Prompts, so
// that tests can answer them instead of a user. The program uses the built-in one, which shows
// real Qt dialogs. Web pages open through OpenUrl (shell/UrlOpener.h), which has its own seam.
class Prompts {
public:
    enum class Icon { Information, Warning, Critical };

    virtual ~Prompts() = default;

    // A modal message box with an OK button over parent (which may be null).
    virtual void message(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;

    // A modal "save as" file dialog. Returns the chosen file, or an empty string when the
    // user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& file,
                                 const QString& filter) = 0;

    // The Prompts in force: the one last installed, or the built-in one.
    static Prompts& current();

    // Makes prompts the Prompts in force; null restores the built-in one. The caller keeps
    // ownership and must install null again before prompts is destroyed.
    static void install(Prompts* prompts);
};

} // namespace velmaro
