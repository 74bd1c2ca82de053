// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

class QTreeWidget;

namespace velmaro {

namespace platform {
class DriveSource;
}

// Fills list with the drives of source, in its order: title "Локальный диск " or "Съёмный диск "
// followed by the mount point (converted for display by the code page service), the root's raw
// bytes as the row's value, localIcon or removableIcon; fixed drives checked, removable ones
// unchecked. Rows already in the list are removed first.
void FillLocationList(QTreeWidget& list, const platform::DriveSource& source,
                      const QIcon& localIcon, const QIcon& removableIcon);

} // namespace velmaro
