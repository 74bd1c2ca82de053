// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/DeletionPreview.h"

#include "platform/ListedFile.h"

namespace velmaro {

bool DeletionPreview::dispose(const std::string& path, const platform::FileIdentity& identity) {
    const platform::ListedFile file(path, identity, platform::ListedFile::Intent::inspect);
    switch (file.found()) {
    case platform::ListedFile::Found::listed:
        return file.mayRemoveName();
    case platform::ListedFile::Found::missing:
        return true;
    default:
        return false;
    }
}

} // namespace velmaro
