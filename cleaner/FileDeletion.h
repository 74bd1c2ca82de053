// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/FileDisposal.h"

#include <chrono>

namespace velmaro {

// Deletes each file as the window's delete action does: the attributes are saved, READONLY is
// cleared (0x38), the file is deleted, after a pause its existence is tested, and a survivor
// gets its saved attributes back. A file counts as deleted only when the system says that its
// path no longer names it; any other failure to read it counts it as still present. A file
// that no longer exists when its turn comes counts as deleted.
class FileDeletion final : public FileDisposal {
public:
    // The pause between a deletion and its existence test.
    static constexpr std::chrono::microseconds DefaultPause = std::chrono::milliseconds(1);

    // Pause is the wait after each deletion; DefaultPause unless a benchmark measures the pass
    // without it.
    explicit FileDeletion(std::chrono::microseconds pause = DefaultPause) : m_pause(pause) {}

    bool dispose(const std::string& path, const platform::FileIdentity& identity) override;

private:
    std::chrono::microseconds m_pause;
};

} // namespace velmaro
