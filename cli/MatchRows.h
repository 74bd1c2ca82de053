// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/DeletionRows.h"
#include "engine/FileDetails.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmaro {

// The matches of velmaro-find's search as the deletion pass sees them: every row checked, in
// the order the search reported them, each with the bytes, size and identity the walk saw. A
// file that several masks match is recorded once, at its first report. Fill it while the
// search runs (one thread at a time) and hand it to the pass once the search has ended.
class MatchRows final : public DeletionRows {
public:
    // Records a match, unless its path was recorded before.
    void add(const TFileDetails& Match);

    int Count() const override;
    bool isChecked(int) const override { return true; }
    std::string folder(int row) const override;
    std::string name(int row) const override;
    std::int64_t size(int row) const override;
    platform::FileIdentity identity(int row) const override;
    // Costs one step for the first row, which the pass always removes when every row is
    // checked.
    void removeRow(int row) override;

private:
    struct Row {
        std::string folder;
        std::string name;
        std::int64_t size;
        platform::FileIdentity identity;
    };
    const Row& at(int row) const { return m_rows[m_first + static_cast<std::size_t>(row)]; }

    std::vector<Row> m_rows;
    std::size_t m_first = 0; // the rows before it are removed
    std::unordered_set<std::string> m_paths;
};

} // namespace velmaro
