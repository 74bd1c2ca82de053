// SPDX-License-Identifier: GPL-3.0-or-later
// Full and quick mode of the main window.

#include "shell/Form_Main.h"

#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>

namespace velmaro {

void TForm_Main::ToolButton_ModeQuickClick() {
    const bool quick = ToolButton_ModeQuick->isChecked();
    sNotebook_Cr->setCurrentIndex(quick ? 1 : 0);
    sLabel_Hint->setText(quick ? QStringLiteral("Режим: быстрая очистка.")
                               : QStringLiteral("Режим: полная очистка."));
    m_actionStates.setQuickMode(quick);
    updateActions();
}

} // namespace velmaro
