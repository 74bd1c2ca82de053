// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/CatalogueList.h"

#include "cleaner/JunkCatalogue.h"
#include "workflow/CheckList.h"

#include <QTreeWidget>

namespace velmaro {
namespace {

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void FillCatalogueList(QTreeWidget& list) {
    list.clear();
    for (const JunkType& type : junkCatalogue()) {
        auto* row = new QTreeWidgetItem(&list, {utf8(type.mask), utf8(type.description)});
        row->setData(0, ValueRole, bytes(type.mask));
        row->setData(0, CategoryKeyRole, utf8(type.key));
        row->setData(0, RecommendedRole, utf8(type.recommended));
        row->setCheckState(0, Qt::Unchecked);
    }
}

} // namespace velmaro
