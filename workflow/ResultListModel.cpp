// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/ResultListModel.h"

namespace velmaro {

namespace {

constexpr int checkColumn = 0;

const char* const columnTitles[ResultRowTexts::ColumnCount] = {"Имя", "Расположение", "Размер",
                                                               "Дата"};

} // namespace

ResultListModel::ResultListModel(QObject* Parent)
    : QAbstractTableModel(Parent), m_texts(std::make_unique<ResultRowTexts>()) {}

int ResultListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultListModel::columnCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : ResultRowTexts::ColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& Index, int Role) const {
    if (!checkIndex(Index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto row = static_cast<std::size_t>(Index.row());
    if (Role == Qt::DisplayRole)
        return m_texts->text(m_rows, row, Index.column());
    if (Role == Qt::CheckStateRole && Index.column() == checkColumn)
        return m_rows.isChecked(row) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ResultListModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    if (Role != Qt::CheckStateRole || Index.column() != checkColumn ||
        !checkIndex(Index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setChecked(static_cast<std::size_t>(Index.row()), Value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (Index.column() == checkColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ResultListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole || Section < 0 ||
        Section >= ResultRowTexts::ColumnCount)
        return {};
    return QString::fromUtf8(columnTitles[Section]);
}

void ResultListModel::setChecked(std::size_t Row, bool Checked) {
    if (m_rows.isChecked(Row) == Checked)
        return;
    m_rows.setChecked(Row, Checked);
    const QModelIndex changed = index(static_cast<int>(Row), checkColumn);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ResultListModel::append(const ResultRowStore& Batch) {
    if (Batch.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(Batch.size()) - 1);
    m_rows.append(Batch);
    endInsertRows();
}

void ResultListModel::clear() {
    beginResetModel();
    m_rows = ResultRowStore();
    m_texts = std::make_unique<ResultRowTexts>();
    endResetModel();
}

void ResultListModel::remove(const std::vector<std::size_t>& Rows) {
    if (Rows.empty())
        return;
    beginResetModel();
    m_rows.remove(Rows);
    m_texts->clear();
    endResetModel();
}

} // namespace velmaro
