// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/TrashMove.h"

#include "platform/ListedFile.h"
#include "platform/Trash.h"

namespace velmaro {

bool TrashMove::dispose(const std::string& path, const platform::FileIdentity& identity) {
    platform::ListedFile file(path, identity);
    if (file.found() == platform::ListedFile::Found::listed)
        m_trash.moveToTrash(file, path);
    return !file.stillPresent();
}

} // namespace velmaro
