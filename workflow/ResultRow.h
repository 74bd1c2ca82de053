#pragma once

#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QMetaType>
#include <QStringList>
#include <Qt>
#include <cstdint>
#include <string>
#include <string_view>

class QTreeWidgetItem;

namespace velmaro {

// A row of the result list: the file's name, folder, size text and creation time as the user
// reads them, checked when added. Column 0 carries the bytes the search reported, which the
// deletion uses: the folder (ending in "/") and the name as QByteArray under
// ResultFolderRole and ResultNameRole, the size in bytes as qint64 under ResultSizeRole. The
// visible texts are display conversions through the system's code page and are never read
// back as paths.
constexpr int ResultFolderRole = Qt::UserRole;
constexpr int ResultNameRole = Qt::UserRole + 1;
constexpr int ResultSizeRole = Qt::UserRole + 2;
// The file's identity as the search described it, a platform::FileIdentity.
constexpr int ResultIdentityRole = Qt::UserRole + 3;

// The contents of a row before it enters the list. A plain value: any thread may build one.
struct ResultRow {
    QByteArray Folder;
    QByteArray Name;
    std::int64_t Size = 0;
    platform::FileIdentity Identity;
    QStringList Texts; // the columns "Имя", "Расположение", "Размер", "Дата"

    // Whether both stand for the same file, byte for byte, letter case included.
    bool sameFile(const ResultRow& other) const {
        return Name == other.Name && Folder == other.Folder;
    }
};

// A new checked list item showing Row and carrying its bytes; the caller owns it.
QTreeWidgetItem* NewResultItem(const ResultRow& Row);

// The bytes and the size an item of the list carries.
std::string ResultRowFolder(const QTreeWidgetItem& Item);
std::string ResultRowName(const QTreeWidgetItem& Item);
std::int64_t ResultRowSize(const QTreeWidgetItem& Item);
platform::FileIdentity ResultRowIdentity(const QTreeWidgetItem& Item);

// Whether Item stands for the file Row describes, byte for byte.
bool ResultItemIs(const QTreeWidgetItem& Item, const ResultRow& Row);

} // namespace velmaro

Q_DECLARE_METATYPE(velmaro::platform::FileIdentity)
