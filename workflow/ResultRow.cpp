#include "workflow/ResultRow.h"

#include <QTreeWidgetItem>

namespace velmaro {

namespace {

// The column whose item data carries the row's bytes.
constexpr int DataColumn = 0;

std::string stringOf(const QVariant& value) {
    const QByteArray bytes = value.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

QTreeWidgetItem* NewResultItem(const ResultRow& Row) {
    auto* item = new QTreeWidgetItem(Row.Texts);
    item->setData(DataColumn, ResultFolderRole, Row.Folder);
    item->setData(DataColumn, ResultNameRole, Row.Name);
    item->setData(DataColumn, ResultSizeRole, static_cast<qint64>(Row.Size));
    item->setData(DataColumn, ResultIdentityRole, QVariant::fromValue(Row.Identity));
    item->setCheckState(DataColumn, Qt::Checked);
    return item;
}

std::string ResultRowFolder(const QTreeWidgetItem& Item) {
    return stringOf(Item.data(DataColumn, ResultFolderRole));
}

std::string ResultRowName(const QTreeWidgetItem& Item) {
    return stringOf(Item.data(DataColumn, ResultNameRole));
}

std::int64_t ResultRowSize(const QTreeWidgetItem& Item) {
    return Item.data(DataColumn, ResultSizeRole).toLongLong();
}

platform::FileIdentity ResultRowIdentity(const QTreeWidgetItem& Item) {
    return Item.data(DataColumn, ResultIdentityRole).value<platform::FileIdentity>();
}

bool ResultItemIs(const QTreeWidgetItem& Item, const ResultRow& Row) {
    // Folders end in "/" and names hold none, so comparing the parts compares the full paths.
    return Item.data(DataColumn, ResultNameRole).toByteArray() == Row.Name &&
           Item.data(DataColumn, ResultFolderRole).toByteArray() == Row.Folder;
}

} // namespace velmaro
