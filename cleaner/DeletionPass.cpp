// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/DeletionPass.h"

#include "cleaner/DeletionRows.h"
#include "cleaner/FileDisposal.h"

namespace velmaro {

void DeletionPass::Execute() {
    m_stopRequested = false;
    m_freedSize = 0;
    m_failedFiles.clear();
    m_deletedPaths.clear();
    int row = 0;
    while (!m_stopRequested && row < m_rows.Count()) {
        if (!m_rows.isChecked(row)) {
            ++row;
            continue;
        }
        const std::string path = m_rows.folder(row) + m_rows.name(row);
        const std::int64_t size = m_rows.size(row);
        FileResult result = FileResult::countedEarlier;
        // A file listed twice was counted through its first row.
        if (!m_deletedPaths.contains(path)) {
            if (m_disposal.dispose(path, m_rows.identity(row))) {
                result = FileResult::gone;
                if (m_disposal.freesSpace())
                    m_freedSize += size;
                m_deletedPaths.insert(path);
            } else {
                result = FileResult::failed;
                m_failedFiles.push_back(path);
            }
        }
        m_rows.removeRow(row);
        if (onFileDone)
            onFileDone({path, size, result});
    }
}

} // namespace velmaro
