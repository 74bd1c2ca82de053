#pragma once

#include "workflow/ResultRow.h"

#include <QTimer>
#include <vector>

class QTreeWidget;

namespace velmaro {

// Feeds a search's rows into the result list on the GUI thread. A row is accepted at once but
// enters the list with the others of its batch, so that the list lays itself out and
// repaints once per batch instead of once per row: a search that finds many files keeps the
// window responsive. A batch waits 50 ms plus 2 ms for every 1,000 rows already listed: the
// list lays out all its rows for every batch, and this keeps that work to a small share of
// the GUI thread's time however long the list grows. The duplicate test sees the waiting rows
// too.
class ResultListFeed {
public:
    explicit ResultListFeed(QTreeWidget& List);
    ResultListFeed(const ResultListFeed&) = delete;
    ResultListFeed& operator=(const ResultListFeed&) = delete;

    // Accepts Row unless its file stands in the last or the second-to-last row (rows of the
    // list followed by the waiting rows). Returns whether it was accepted.
    bool add(const ResultRow& Row);

    // Puts the waiting rows into the list now.
    void flush();

private:
    QTreeWidget& m_list;
    std::vector<ResultRow> m_waiting;
    QTimer m_timer;
};

} // namespace velmaro
