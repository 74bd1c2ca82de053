// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/ResultListRows.h"

#include "workflow/ResultListModel.h"

#include <algorithm>

namespace velmaro {

ResultListRows::~ResultListRows() {
    finish();
}

std::size_t ResultListRows::modelRow(int row) const {
    const auto index = static_cast<std::size_t>(row);
    return index < m_kept.size() ? m_kept[index] : m_next + (index - m_kept.size());
}

int ResultListRows::Count() const {
    return static_cast<int>(m_kept.size() + (m_model.rows().size() - m_next));
}

bool ResultListRows::isChecked(int row) const {
    return m_model.rows().isChecked(modelRow(row));
}

std::string ResultListRows::folder(int row) const {
    return std::string(m_model.rows().folder(modelRow(row)));
}

std::string ResultListRows::name(int row) const {
    return std::string(m_model.rows().name(modelRow(row)));
}

std::int64_t ResultListRows::size(int row) const {
    return m_model.rows().fileSize(modelRow(row));
}

platform::FileIdentity ResultListRows::identity(int row) const {
    return m_model.rows().identity(modelRow(row));
}

void ResultListRows::removeRow(int row) {
    const auto index = static_cast<std::size_t>(row);
    if (index < m_kept.size()) {
        m_removed.push_back(m_kept[index]);
        m_kept.erase(m_kept.begin() + static_cast<std::ptrdiff_t>(index));
        return;
    }
    // The rows the pass went past on the way stay.
    for (std::size_t passed = index - m_kept.size(); passed > 0; --passed)
        m_kept.push_back(m_next++);
    m_removed.push_back(m_next++);
}

void ResultListRows::finish() {
    if (!m_removed.empty()) {
        std::sort(m_removed.begin(), m_removed.end());
        m_model.remove(m_removed);
    }
    m_kept.clear();
    m_next = 0;
    m_removed.clear();
}

} // namespace velmaro
