// SPDX-License-Identifier: GPL-3.0-or-later
#include "cleaner/FileDeletion.h"

#include "platform/ListedFile.h"
#include "platform/Sleep.h"

#include <cstdint>

namespace velmaro {

namespace {

constexpr std::uint32_t ClearedAttributes = 0x38;

} // namespace

bool FileDeletion::dispose(const std::string& path, const platform::FileIdentity& identity) {
    platform::ListedFile file(path, identity);
    const platform::FileAttributeValue saved = file.GetFileAttributes();
    file.SetFileAttributes(ClearedAttributes);
    file.DeleteFile();
    platform::Sleep(m_pause);
    if (file.stillPresent()) {
        // An unreadable first value is invalid and changes nothing here.
        file.SetFileAttributes(saved);
        return false;
    }
    return true;
}

} // namespace velmaro
