// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ColumnSizer.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

namespace velmaro {

ColumnSizer::ColumnSizer(QTreeView* list, QVector<Column> columns)
    : QObject(list), m_list(list), m_viewport(list->viewport()), m_columns(std::move(columns)) {
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setMinimumSectionSize(1);
    m_viewport->installEventFilter(this);
    resizeColumns();
}

void ColumnSizer::resizeColumns() {
    // What the fixed columns and the minimums leave is shared evenly by the auto-sized columns.
    int spare = m_viewport->width();
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
    // Only the viewport is asked, never the list: the list may be half destroyed while its
    // viewport still receives events.
    if (event->type() == QEvent::Resize && watched == m_viewport)
        resizeColumns();
    return QObject::eventFilter(watched, event);
}

} // namespace velmaro
