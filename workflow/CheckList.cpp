// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/CheckList.h"

#include <QTreeWidget>

namespace velmaro {
namespace {

template <class Change>
void forEachRow(QTreeWidget& list, Change change) {
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        change(*list.topLevelItem(i));
}

} // namespace

std::string RowValue(const QTreeWidgetItem& row) {
    return row.data(0, ValueRole).toByteArray().toStdString();
}

std::string JoinCheckedValues(const QTreeWidget& list) {
    std::string joined;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem& row = *list.topLevelItem(i);
        if (row.checkState(0) == Qt::Checked)
            joined += RowValue(row) + ';';
    }
    if (joined == ";")
        joined.clear();
    return joined;
}

void CheckRecommendedRows(QTreeWidget& list) {
    forEachRow(list, [](QTreeWidgetItem& row) {
        const QString flag = row.data(0, RecommendedRole).toString();
        if (flag == QLatin1String("1"))
            row.setCheckState(0, Qt::Checked);
        else if (flag == QLatin1String("0"))
            row.setCheckState(0, Qt::Unchecked);
    });
}

void CheckAllRows(QTreeWidget& list, bool checked) {
    forEachRow(list, [checked](QTreeWidgetItem& row) {
        row.setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    });
}

void InvertRowChecks(QTreeWidget& list) {
    forEachRow(list, [](QTreeWidgetItem& row) {
        row.setCheckState(0, row.checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
}

} // namespace velmaro
