// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/DeletionRows.h"

#include <cstddef>
#include <vector>

namespace velmaro {

class ResultListModel;

// The result list as the deletion pass sees it: a row's folder, name, size and identity are
// what the search listed, never its display texts. Removing a row costs the same however long
// the list is: the rows the pass removes stay in the model until finish() takes them all out
// in one step, which the views see as one reset. Until then the model and its views are left
// as they were, so the list must stay hidden and unchanged by anything else while the pass
// runs (the start, delete and mode controls are disabled meanwhile). GUI thread.
class ResultListRows final : public DeletionRows {
public:
    // Model must outlive this object.
    explicit ResultListRows(ResultListModel& Model) : m_model(Model) {}
    // Calls finish().
    ~ResultListRows() override;
    ResultListRows(const ResultListRows&) = delete;
    ResultListRows& operator=(const ResultListRows&) = delete;

    int Count() const override;
    bool isChecked(int row) const override;
    std::string folder(int row) const override;
    std::string name(int row) const override;
    std::int64_t size(int row) const override;
    platform::FileIdentity identity(int row) const override;
    // Costs one step when row is the first row after those the pass has gone past, as in the
    // pass; removing an earlier row costs a step for each row between.
    void removeRow(int row) override;

    // Takes every removed row out of the model at once; the remaining rows keep their order.
    // Afterwards the rows are the model's rows again. Safe to call more than once.
    void finish();

private:
    // The model's row that row stands for now.
    std::size_t modelRow(int row) const;

    ResultListModel& m_model;
    // The rows before m_next that stay, in order: rows 0 to m_kept.size() - 1 now. The model's
    // rows from m_next on follow them.
    std::vector<std::size_t> m_kept;
    std::size_t m_next = 0;
    std::vector<std::size_t> m_removed; // the model's rows removed, in the order of removal
};

} // namespace velmaro
