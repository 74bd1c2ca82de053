// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// Makes Qt's own texts (the file dialog, the context menus of text boxes, standard buttons)
// Russian, whatever the user's locale, since the whole interface is: loads qtbase_ru.qm from Qt's
// translations folder (Debian package qt6-translations-l10n) into the application. Returns false,
// and leaves Qt's English texts, when that file is missing or unreadable. GUI thread, once the
// application object exists; the translation lives as long as the application object.
bool InstallQtTranslation();

} // namespace velmaro
