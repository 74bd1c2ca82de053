// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/FileDisposal.h"

namespace velmaro {

namespace platform {
class Trash;
}

// Moves each file into the desktop's trash (see platform::Trash) instead of deleting it: the
// file is found again as the search listed it, leased while it moves, and renamed from its own
// folder into the trash of its drive; its mode stays as it was. A file counts as gone when its
// path no longer names it; a file that no trash can take stays and counts as failed, it is
// never deleted instead. A file that no longer exists when its turn comes counts as gone. The
// files stay on their drives, so a move frees nothing.
class TrashMove final : public FileDisposal {
public:
    // Trash must outlive this object.
    explicit TrashMove(platform::Trash& trash) : m_trash(trash) {}

    bool dispose(const std::string& path, const platform::FileIdentity& identity) override;
    bool freesSpace() const override { return false; }

private:
    platform::Trash& m_trash;
};

} // namespace velmaro
