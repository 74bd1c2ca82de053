// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QVector>

class QTreeView;
class QWidget;

namespace velmaro {

// Keeps the columns of a report-style list filling its width: fixed columns keep their width,
// the auto-sized ones share what is left evenly, each at least its minimum. The sizer is a
// child of the list and follows every resize of the list's viewport.
class ColumnSizer : public QObject {
    Q_OBJECT

public:
    struct Column {
        int fixedWidth; // 0 for an auto-sized column
        int minimumWidth;
    };

    ColumnSizer(QTreeView* list, QVector<Column> columns);

    // Sets the column widths for the list's current viewport width.
    void resizeColumns();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* m_list;
    QWidget* m_viewport;
    QVector<Column> m_columns;
};

} // namespace velmaro
