// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue and location lists of the main window: the strings a search receives and the
// catalogue's presets.

#include "shell/Form_Main.h"
#include "workflow/CheckList.h"
#include "workflow/LocationList.h"

#include <QIcon>

namespace velmaro {

void TForm_Main::FillDriveList() {
    FillLocationList(*sListView_Location, m_drives,
                     QIcon(QStringLiteral(":/images/drive-local.svg")),
                     QIcon(QStringLiteral(":/images/drive-removable.svg")));
}

std::string TForm_Main::BuildLocationString() const {
    return JoinCheckedValues(*sListView_Location);
}

std::string TForm_Main::BuildMaskString() const {
    return JoinCheckedValues(*sListView_CrExt);
}

void TForm_Main::N1Click() {
    CheckRecommendedRows(*sListView_CrExt);
}

void TForm_Main::N2Click() {
    CheckAllRows(*sListView_CrExt, true);
}

void TForm_Main::N3Click() {
    CheckAllRows(*sListView_CrExt, false);
}

void TForm_Main::N4Click() {
    InvertRowChecks(*sListView_CrExt);
}

} // namespace velmaro
