// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workflow/ResultRowStore.h"
#include "workflow/ResultRowTexts.h"

#include <QAbstractTableModel>
#include <cstddef>
#include <memory>
#include <vector>

namespace velmaro {

// The result list's rows for its view: one row per listed file with the columns "Имя",
// "Расположение", "Размер" and "Дата", checkable in the first column. The rows keep the
// bytes and numbers the search reported (see ResultRowStore); their display texts are made
// when a row is painted (see ResultRowTexts) and are never read back as paths.
// A flat list: no row has children. GUI thread only.
class ResultListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultListModel(QObject* Parent = nullptr);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    // The column texts under Qt::DisplayRole, the check state of column 0 under
    // Qt::CheckStateRole; nothing else.
    QVariant data(const QModelIndex& Index, int Role) const override;
    // Sets the check state of column 0 (Qt::CheckStateRole); false for anything else.
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

    // The rows as the search listed them, for the deletion pass and for tests.
    const ResultRowStore& rows() const { return m_rows; }
    void setChecked(std::size_t Row, bool Checked);

    // Appends the rows of Batch after the last row; views see one insertion.
    void append(const ResultRowStore& Batch);
    // Removes every row and frees their memory at once; views see one reset. Later rows show
    // their dates in the formats of the default locale as it is now.
    void clear();
    // Removes the rows at the indexes Rows lists in increasing order, each at most once, in one
    // step whatever their number; views see one reset.
    void remove(const std::vector<std::size_t>& Rows);

private:
    ResultRowStore m_rows;
    // Made while painting, which happens in const calls.
    mutable std::unique_ptr<ResultRowTexts> m_texts;
};

} // namespace velmaro
