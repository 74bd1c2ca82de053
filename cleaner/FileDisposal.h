// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"

#include <string>

namespace velmaro {

// What a deletion pass does with the file of each checked row: delete it (FileDeletion), move
// it into the desktop's trash (TrashMove), or only find out whether deleting it would succeed
// (DeletionPreview). Every kind touches only the file the search listed (platform::ListedFile).
// Called on the pass's thread.
class FileDisposal {
public:
    virtual ~FileDisposal() = default;

    // Deals with the file at path (absolute, raw bytes) that the search listed with identity.
    // Returns whether the file counts as gone from its path (for a preview: would be gone).
    virtual bool dispose(const std::string& path, const platform::FileIdentity& identity) = 0;

    // Whether a file that went gives its space back to its drive. A move into the trash keeps
    // the file on its drive, so it frees nothing.
    virtual bool freesSpace() const { return true; }
};

} // namespace velmaro
