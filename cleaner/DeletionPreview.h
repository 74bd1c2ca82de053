// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/FileDisposal.h"

namespace velmaro {

// Tells, without changing anything (no attribute change, no lease, no rename, no removal),
// whether FileDeletion would delete each file: it would when the path still holds the file the
// search listed and this process may remove its name from its folder (see
// platform::ListedFile::mayRemoveName), and when the path names nothing any more (a file
// already gone counts as deleted). A file replaced, changed or unreachable since the search
// would fail. What only the attempt itself shows is not foreseen: a file another program holds
// open, or one marked immutable, counts as deletable.
class DeletionPreview final : public FileDisposal {
public:
    bool dispose(const std::string& path, const platform::FileIdentity& identity) override;
};

} // namespace velmaro
