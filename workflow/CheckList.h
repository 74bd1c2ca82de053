// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace velmaro {

// The rows of the check-box lists of the main window carry the bytes a search receives (a
// catalogue row its mask, a location row its root) under ValueRole, apart from the caption
// the user sees, so that a root never goes through display text on its way to the search.
constexpr int ValueRole = Qt::UserRole;
// The catalogue row's category key (such as "TempFile") and recommended flag text ("1" or "0").
constexpr int CategoryKeyRole = Qt::UserRole + 1;
constexpr int RecommendedRole = Qt::UserRole + 2;

// The value bytes of a row (empty when it has none).
std::string RowValue(const QTreeWidgetItem& row);

// The values of the checked rows in list order, each followed by ";". Empty when no row is
// checked; a result of ";" alone (one checked row with an empty value) is empty too.
std::string JoinCheckedValues(const QTreeWidget& list);

// The catalogue's presets, applied to every row in list order.
// Rows whose recommended flag is "1" checked, "0" unchecked, any other text left alone.
void CheckRecommendedRows(QTreeWidget& list);
// Every row checked (true) or unchecked (false).
void CheckAllRows(QTreeWidget& list, bool checked);
// Every row's check toggled.
void InvertRowChecks(QTreeWidget& list);

} // namespace velmaro
