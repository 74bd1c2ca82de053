// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAbstractItemView;
class QWidget;
class QModelIndex;

namespace velmaro {

// Gives every cell of a list whose text the list cuts short (a long file name, folder or mount
// point in a fixed-width column) a tooltip with the whole text. Cells that show their text in
// full get none, and a cell whose model gives a tooltip of its own keeps that one. Works for any
// item view (a QTreeWidget as well as a QTreeView over a model of its own) and leaves the view's
// delegate alone. GUI thread only.
class ElidedCellToolTip : public QObject {
    Q_OBJECT

public:
    // Watches view's tooltip requests; the watcher is a child of view and goes with it.
    static void install(QAbstractItemView* view);

    // Whether view cuts the text of index's cell short: the cell, with its check box, icon and
    // the margins the style puts around the text, needs more width than its column gives it.
    static bool textCut(const QAbstractItemView& view, const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ElidedCellToolTip(QAbstractItemView* view);

    QAbstractItemView* m_view;
    QWidget* m_viewport; // the view's viewport at install, which the tooltips belong to
};

} // namespace velmaro
