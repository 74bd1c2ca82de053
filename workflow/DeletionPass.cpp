#include "workflow/DeletionPass.h"

#include "platform/FileAttributes.h"
#include "platform/FileOperations.h"
#include "workflow/DeletionRows.h"

#include <chrono>
#include <thread>

namespace velmaro {

namespace {

constexpr std::uint32_t ClearedAttributes = 0x38;

// Whether the file at a path read back as value after its deletion is still there. A plain
// folder standing at the path means the file is gone; a link to a folder may be the very
// entry that was listed, so it counts as present.
bool stillPresent(const platform::FileAttributeValue& value) {
    if (value.isValid())
        return (value.attributes() & platform::FILE_ATTRIBUTE_DIRECTORY) == 0 ||
               (value.attributes() & platform::FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return !value.isMissing();
}

} // namespace

void DeletionPass::Execute() {
    m_stopRequested = false;
    m_deletedCount = 0;
    m_freedSize = 0;
    m_failedFiles.clear();
    int row = 0;
    while (!m_stopRequested && row < m_rows.Count()) {
        if (!m_rows.isChecked(row)) {
            ++row;
            continue;
        }
        const std::string path = m_rows.folder(row) + m_rows.name(row);
        const platform::FileAttributeValue saved = platform::GetFileAttributes(path);
        platform::SetFileAttributes(path, ClearedAttributes);
        platform::DeleteFile(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stillPresent(platform::GetFileAttributes(path))) {
            m_failedFiles.push_back(path);
            // An unreadable first value is invalid and changes nothing here.
            platform::SetFileAttributes(path, saved);
        } else {
            ++m_deletedCount;
            m_freedSize += m_rows.size(row);
        }
        m_rows.removeRow(row);
        if (onFileDone)
            onFileDone();
    }
}

} // namespace velmaro
