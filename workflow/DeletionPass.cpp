#include "workflow/DeletionPass.h"

#include "platform/ListedFile.h"
#include "workflow/DeletionRows.h"

#include <thread>

namespace velmaro {

namespace {

constexpr std::uint32_t ClearedAttributes = 0x38;

} // namespace

void DeletionPass::Execute() {
    m_stopRequested = false;
    m_deletedCount = 0;
    m_freedSize = 0;
    m_failedFiles.clear();
    m_deletedPaths.clear();
    int row = 0;
    while (!m_stopRequested && row < m_rows.Count()) {
        if (!m_rows.isChecked(row)) {
            ++row;
            continue;
        }
        std::string path = m_rows.folder(row) + m_rows.name(row);
        // A file listed twice was counted through its first row.
        if (!m_deletedPaths.contains(path)) {
            if (deleteFile(path, row)) {
                ++m_deletedCount;
                m_freedSize += m_rows.size(row);
                m_deletedPaths.insert(std::move(path));
            } else {
                m_failedFiles.push_back(std::move(path));
            }
        }
        m_rows.removeRow(row);
        if (onFileDone)
            onFileDone();
    }
}

bool DeletionPass::deleteFile(const std::string& path, int row) {
    platform::ListedFile file(path, m_rows.identity(row));
    const platform::FileAttributeValue saved = file.GetFileAttributes();
    file.SetFileAttributes(ClearedAttributes);
    file.DeleteFile();
    std::this_thread::sleep_for(m_pause);
    if (file.stillPresent()) {
        // An unreadable first value is invalid and changes nothing here.
        file.SetFileAttributes(saved);
        return false;
    }
    return true;
}

} // namespace velmaro
