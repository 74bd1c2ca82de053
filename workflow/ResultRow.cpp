#include "workflow/ResultRow.h"

#include "engine/FileDetails.h"
#include "platform/CodePage.h"
#include "workflow/DateTimeText.h"
#include "workflow/SizeText.h"

#include <QByteArray>
#include <QString>
#include <QTreeWidget>

namespace velmaro {

namespace {

// The columns "Имя", "Расположение", "Размер", "Дата"; the row's data lives in the first.
constexpr int NameColumn = 0;

QString displayText(const std::string& bytes) {
    return QString::fromStdU16String(platform::CodePage::system().toUtf16(bytes));
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string stringOf(const QVariant& value) {
    const QByteArray bytes = value.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

QTreeWidgetItem* AddResultRow(QTreeWidget& List, const TFileDetails& File,
                              const DateTimeText& Dates) {
    auto* row = new QTreeWidgetItem(QStringList{displayText(File.Name), displayText(File.Location),
                                                SizeToText(static_cast<double>(File.Size)),
                                                Dates.dateTime(File.CreatedTime)});
    row->setData(NameColumn, ResultFolderRole, bytesOf(File.Location));
    row->setData(NameColumn, ResultNameRole, bytesOf(File.Name));
    row->setData(NameColumn, ResultSizeRole, static_cast<qint64>(File.Size));
    row->setCheckState(NameColumn, Qt::Checked);
    List.addTopLevelItem(row);
    return row;
}

std::string ResultRowFolder(const QTreeWidgetItem& Row) {
    return stringOf(Row.data(NameColumn, ResultFolderRole));
}

std::string ResultRowName(const QTreeWidgetItem& Row) {
    return stringOf(Row.data(NameColumn, ResultNameRole));
}

std::int64_t ResultRowSize(const QTreeWidgetItem& Row) {
    return Row.data(NameColumn, ResultSizeRole).toLongLong();
}

bool ResultRowIs(const QTreeWidgetItem& Row, std::string_view Folder, std::string_view Name) {
    const QByteArray folder = Row.data(NameColumn, ResultFolderRole).toByteArray();
    const QByteArray name = Row.data(NameColumn, ResultNameRole).toByteArray();
    // Folders end in "/" and names hold none, so comparing the parts compares the full paths.
    return std::string_view(folder.constData(), static_cast<std::size_t>(folder.size())) ==
               Folder &&
           std::string_view(name.constData(), static_cast<std::size_t>(name.size())) == Name;
}

} // namespace velmaro
