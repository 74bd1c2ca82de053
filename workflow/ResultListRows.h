#pragma once

#include "workflow/DeletionRows.h"

class QTreeWidget;

namespace velmaro {

// The result list as the deletion pass sees it: a row's folder, name and size are the bytes
// and the size the search listed (see ResultRow.h), never its display texts.
class ResultListRows final : public DeletionRows {
public:
    // List must outlive this object.
    explicit ResultListRows(QTreeWidget& List) : m_list(List) {}

    int Count() const override;
    bool isChecked(int row) const override;
    std::string folder(int row) const override;
    std::string name(int row) const override;
    std::int64_t size(int row) const override;
    platform::FileIdentity identity(int row) const override;
    void removeRow(int row) override;

private:
    QTreeWidget& m_list;
};

} // namespace velmaro
