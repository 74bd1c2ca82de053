#pragma once

#include <Qt>
#include <cstdint>
#include <string>
#include <string_view>

class QTreeWidget;
class QTreeWidgetItem;

namespace velmaro {

class DateTimeText;
struct TFileDetails;

// A row of the result list: the file's name, folder, size text and creation time as the user
// reads them, checked when added. Column 0 carries the bytes the search reported, which the
// deletion uses: the folder (ending in "/") and the name as QByteArray under
// ResultFolderRole and ResultNameRole, the size in bytes as qint64 under ResultSizeRole. The
// visible texts are display conversions through the system's code page and are never read
// back as paths.
constexpr int ResultFolderRole = Qt::UserRole;
constexpr int ResultNameRole = Qt::UserRole + 1;
constexpr int ResultSizeRole = Qt::UserRole + 2;

// Appends the checked row of File to List; Dates formats its creation time. The list owns the
// row.
QTreeWidgetItem* AddResultRow(QTreeWidget& List, const TFileDetails& File,
                              const DateTimeText& Dates);

// The raw bytes and the size a row carries.
std::string ResultRowFolder(const QTreeWidgetItem& Row);
std::string ResultRowName(const QTreeWidgetItem& Row);
std::int64_t ResultRowSize(const QTreeWidgetItem& Row);

// Whether Row stands for the file Name in Folder, byte for byte, letter case included.
bool ResultRowIs(const QTreeWidgetItem& Row, std::string_view Folder, std::string_view Name);

} // namespace velmaro
