// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ElidedCellToolTip.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>

namespace velmaro {

void ElidedCellToolTip::install(QAbstractItemView* view) {
    new ElidedCellToolTip(view);
}

ElidedCellToolTip::ElidedCellToolTip(QAbstractItemView* view)
    : QObject(view), m_view(view), m_viewport(view->viewport()) {
    m_viewport->installEventFilter(this);
}

bool ElidedCellToolTip::eventFilter(QObject* watched, QEvent* event) {
    // The viewport still has events while the view is being destroyed: the view is touched
    // only for a tooltip request.
    if (watched != m_viewport || event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_view->indexAt(help->pos());
    // Outside every cell, or a tooltip of the model's own: the view shows what it would.
    if (!index.isValid() || index.data(Qt::ToolTipRole).isValid())
        return false;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && textCut(*m_view, index))
        QToolTip::showText(help->globalPos(), text, m_viewport, m_view->visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

bool ElidedCellToolTip::textCut(const QAbstractItemView& view, const QModelIndex& index) {
    // The option the view paints the cell with, as far as it bears on the cell's width; the
    // delegate adds what the cell shows besides its text.
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.rect = view.visualRect(index);
    const int smallIcon = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
    option.decorationSize =
        view.iconSize().isValid() ? view.iconSize() : QSize(smallIcon, smallIcon);
    option.locale = view.locale();
    option.textElideMode = view.textElideMode();
    const QAbstractItemDelegate* delegate = view.itemDelegateForIndex(index);
    return delegate && delegate->sizeHint(option, index).width() > option.rect.width();
}

} // namespace velmaro
