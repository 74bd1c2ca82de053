#include "workflow/ResultListRows.h"

#include "workflow/ResultRow.h"

#include <QTreeWidget>

namespace velmaro {

int ResultListRows::Count() const {
    return m_list.topLevelItemCount();
}

bool ResultListRows::isChecked(int row) const {
    return m_list.topLevelItem(row)->checkState(0) == Qt::Checked;
}

std::string ResultListRows::folder(int row) const {
    return ResultRowFolder(*m_list.topLevelItem(row));
}

std::string ResultListRows::name(int row) const {
    return ResultRowName(*m_list.topLevelItem(row));
}

std::int64_t ResultListRows::size(int row) const {
    return ResultRowSize(*m_list.topLevelItem(row));
}

platform::FileIdentity ResultListRows::identity(int row) const {
    return ResultRowIdentity(*m_list.topLevelItem(row));
}

void ResultListRows::removeRow(int row) {
    delete m_list.takeTopLevelItem(row);
}

} // namespace velmaro
