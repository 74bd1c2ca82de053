// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderListing.h"

#include "platform/posix/EntryStatus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr std::size_t ReadBufferSize = 32 * 1024;

FolderListing::EntryKind kindOf(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return FolderListing::EntryKind::Directory;
    case DT_REG:
        return FolderListing::EntryKind::File;
    case DT_LNK:
        return FolderListing::EntryKind::Link;
    case DT_UNKNOWN:
        return FolderListing::EntryKind::Unknown;
    default:
        return FolderListing::EntryKind::Other;
    }
}

} // namespace

bool FolderListing::open(std::string_view Path, LinkPolicy Links) {
    return read(FolderHandle::open(Path, Links)) == ReadResult::Read;
}

FolderListing::ReadResult FolderListing::read(FolderHandle Folder, std::size_t MaxBytes,
                                              const std::function<bool()>& Stop) {
    m_folder = std::move(Folder);
    m_names.clear();
    m_entries.clear();
    const ReadResult result = m_folder.valid() ? readAll(MaxBytes, Stop) : ReadResult::Unreadable;
    if (result != ReadResult::Read) {
        m_names.clear();
        m_entries.clear();
    }
    if (result == ReadResult::Unreadable)
        m_folder.close();
    return result;
}

void FolderListing::clear() {
    std::string().swap(m_names);
    std::vector<Entry>().swap(m_entries);
}

FolderListing::ReadResult FolderListing::readAll(std::size_t maxBytes,
                                                 const std::function<bool()>& stop) {
    // One buffer per thread serves every listing that thread reads.
    thread_local std::vector<char> buffer(ReadBufferSize);
    for (;;) {
        const ssize_t got = getdents64(m_folder.descriptor(), buffer.data(), buffer.size());
        if (got == 0)
            return ReadResult::Read;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ReadResult::Unreadable;
        }
        for (ssize_t at = 0; at < got;) {
            if (stop && stop())
                return ReadResult::Stopped;
            const auto* record = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += record->d_reclen;
            const std::size_t length = std::strlen(record->d_name);
            if (length == 0 || length > std::numeric_limits<std::uint16_t>::max())
                continue;
            m_entries.push_back(
                {m_names.size(), static_cast<std::uint16_t>(length), kindOf(record->d_type)});
            m_names.append(record->d_name, length + 1);
        }
        if (memoryUse() > maxBytes)
            return ReadResult::Stopped;
    }
}

std::size_t FolderListing::memoryUse() const {
    return m_names.capacity() + m_entries.capacity() * sizeof(Entry);
}

bool FolderListing::describe(std::size_t Index, EntryDescription& Description) const {
    if (!m_folder.valid())
        return false;
    const int folder = m_folder.descriptor();
    const char* entryName = name(Index).data();
    EntryStatus status;
    if (statEntry(folder, entryName, status) != 0)
        return false;
    Description.attributes = attributesOf(folder, entryName, status);
    Description.created = status.created;
    Description.accessed = status.accessed;
    Description.written = status.written;
    Description.size = S_ISREG(status.mode) ? status.size : 0;
    Description.identity = status.identity();
    Description.changed = status.changed;
    return true;
}

bool FolderListing::describe(std::size_t Index, FindData& Data) const {
    EntryDescription description;
    if (!describe(Index, description))
        return false;
    fill(Data, name(Index), description);
    return true;
}

void FolderListing::fill(FindData& Data, std::string_view Name,
                         const EntryDescription& Description) {
    Data.dwFileAttributes = Description.attributes;
    Data.ftCreationTime = Description.created;
    Data.ftLastAccessTime = Description.accessed;
    Data.ftLastWriteTime = Description.written;
    Data.nFileSizeHigh = static_cast<std::uint32_t>(Description.size >> 32);
    Data.nFileSizeLow = static_cast<std::uint32_t>(Description.size);
    const std::size_t copied = std::min(Name.size(), sizeof Data.cFileName - 1);
    std::memcpy(Data.cFileName, Name.data(), copied);
    Data.cFileName[copied] = '\0';
    Data.Identity = Description.identity;
}

} // namespace velmaro::platform
