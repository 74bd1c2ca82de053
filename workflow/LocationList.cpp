// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/LocationList.h"

#include "cleaner/DriveTitle.h"
#include "platform/Drives.h"
#include "workflow/CheckList.h"
#include "workflow/CodePageText.h"

#include <QTreeWidget>

namespace velmaro {

void FillLocationList(QTreeWidget& list, const platform::DriveSource& source,
                      const QIcon& localIcon, const QIcon& removableIcon) {
    list.clear();
    for (const platform::Drive& drive : source.drives()) {
        const bool fixed = drive.kind == platform::DriveKind::Fixed;
        const std::string_view prefix = driveTitlePrefix(drive.kind);
        const QString title =
            QString::fromUtf8(prefix.data(), static_cast<qsizetype>(prefix.size())) +
            CodePageText(drive.mountPoint);
        auto* row = new QTreeWidgetItem(&list, {title});
        row->setData(0, ValueRole, QByteArray::fromStdString(drive.root));
        row->setIcon(0, fixed ? localIcon : removableIcon);
        row->setCheckState(0, fixed ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace velmaro
