// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/posix/UniqueFd.h"

#include <cstddef>
#include <string>

namespace velmaro::platform {

// A file opened for reading only, as a stream with a position. Opening never blocks and never
// keeps others from reading or writing the file. Move-only; the destructor closes the file.
class FileStream {
public:
    FileStream() = default;

    // Opens the existing file at Path (raw bytes; a symbolic link is followed) at position 0.
    // Returns false, leaving the stream closed, when it cannot be opened or is not a regular
    // file: a folder, FIFO, socket or device is refused without ever blocking on it.
    bool open(const std::string& Path);

    bool isOpen() const { return m_fd.valid(); }

    // Reads up to Count bytes into Buffer and returns how many it read; fewer than Count only
    // at the end of the file. A failed read counts as the end: what was read before the failure
    // is returned, 0 if nothing.
    std::size_t read(void* Buffer, std::size_t Count);

    // Moves the position back by Count bytes. Returns false when the position cannot move so
    // (it then stays where it was).
    bool seekBack(std::size_t Count);

private:
    UniqueFd m_fd;
};

} // namespace velmaro::platform
