#include "shell/ColumnSizer.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

namespace velmaro {

ColumnSizer::ColumnSizer(QTreeWidget* list, QVector<Column> columns)
    : QObject(list), m_list(list), m_columns(std::move(columns)) {
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setMinimumSectionSize(1);
    m_list->viewport()->installEventFilter(this);
    resizeColumns();
}

void ColumnSizer::resizeColumns() {
    // What the fixed columns and the minimums leave is shared evenly by the auto-sized columns.
    int spare = m_list->viewport()->width();
    int autoCount = 0;
    for (const Column& column : m_columns) {
        spare -= column.fixedWidth == 0 ? column.minimumWidth : column.fixedWidth;
        autoCount += column.fixedWidth == 0 ? 1 : 0;
    }
    spare = std::max(spare, 0);
    int autoLeft = autoCount;
    for (int i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        int width = column.fixedWidth;
        if (width == 0) {
            // The last auto-sized column takes the remainder, so the columns end flush.
            const int share = autoLeft == 1 ? spare : spare / autoLeft;
            width = column.minimumWidth + share;
            spare -= share;
            --autoLeft;
        }
        m_list->header()->resizeSection(i, width);
    }
}

bool ColumnSizer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        resizeColumns();
    return QObject::eventFilter(watched, event);
}

} // namespace velmaro
