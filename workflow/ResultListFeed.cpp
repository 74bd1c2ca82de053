#include "workflow/ResultListFeed.h"

#include <QList>
#include <QTreeWidget>
#include <algorithm>

namespace velmaro {

namespace {

constexpr int baseDelay = 50;       // milliseconds
constexpr int rowsPerExtraMs = 500; // one more millisecond of delay for this many listed rows

} // namespace

ResultListFeed::ResultListFeed(QTreeWidget& List) : m_list(List) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flush(); });
}

bool ResultListFeed::add(const ResultRow& Row) {
    // The last two rows: first from the waiting ones, then from the end of the list.
    const std::size_t fromWaiting = std::min<std::size_t>(m_waiting.size(), 2);
    for (std::size_t i = 1; i <= fromWaiting; ++i)
        if (m_waiting[m_waiting.size() - i].sameFile(Row))
            return false;
    const int listed = m_list.topLevelItemCount();
    const int fromList = std::min(listed, 2 - static_cast<int>(fromWaiting));
    for (int i = 1; i <= fromList; ++i)
        if (ResultItemIs(*m_list.topLevelItem(listed - i), Row))
            return false;
    m_waiting.push_back(Row);
    if (!m_timer.isActive())
        m_timer.start(baseDelay + m_list.topLevelItemCount() / rowsPerExtraMs);
    return true;
}

void ResultListFeed::flush() {
    m_timer.stop();
    if (m_waiting.empty())
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_waiting.size()));
    for (const ResultRow& row : m_waiting)
        items.append(NewResultItem(row));
    m_waiting.clear();
    m_list.addTopLevelItems(items);
}

} // namespace velmaro
