// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/ResultRowStore.h"

#include "engine/FileDetails.h"

#include <stdexcept>

namespace velmaro {

namespace {

constexpr std::size_t maxNameLength = (std::size_t(1) << 30) - 1;

} // namespace

std::uint32_t ResultRowStore::folderFor(std::string_view Folder) {
    if (!m_folders.empty()) {
        const FolderRun& last = m_folders.back();
        if (bytes(last.at, last.length) == Folder)
            return static_cast<std::uint32_t>(m_folders.size() - 1);
    }
    m_folders.push_back({m_bytes.size(), Folder.size()});
    m_bytes.append(Folder);
    return static_cast<std::uint32_t>(m_folders.size() - 1);
}

void ResultRowStore::append(const TFileDetails& File) {
    if (File.Name.size() > maxNameLength)
        throw std::length_error("file name too long for the result list");
    const platform::FileIdentity& identity = File.Identity;
    Record row{};
    row.folder = folderFor(File.Location);
    row.nameAt = m_bytes.size();
    row.nameLength = static_cast<std::uint32_t>(File.Name.size());
    row.checked = 1;
    row.hasBirth = identity.hasBirth ? 1 : 0;
    row.size = File.Size;
    row.created = File.CreatedTime;
    row.device = identity.device;
    row.inode = identity.inode;
    row.identitySize = identity.size;
    row.modifiedSeconds = identity.modified.seconds;
    row.modifiedNanoseconds = identity.modified.nanoseconds;
    row.birthSeconds = identity.birth.seconds;
    row.birthNanoseconds = identity.birth.nanoseconds;
    m_bytes.append(File.Name);
    m_rows.push_back(row);
}

void ResultRowStore::append(const ResultRowStore& Other) {
    if (Other.empty())
        return;
    // Other's first folder continues this store's last run when it is the same folder: its rows
    // then take this store's last folder, and the folders after it follow on.
    const FolderRun& otherFirst = Other.m_folders.front();
    const std::size_t first =
        !m_folders.empty() && bytes(m_folders.back().at, m_folders.back().length) ==
                                  Other.bytes(otherFirst.at, otherFirst.length)
            ? 1
            : 0;
    const std::size_t byteBase = m_bytes.size();
    const auto folderBase = static_cast<std::uint32_t>(m_folders.size() - first);
    m_bytes.append(Other.m_bytes);
    for (std::size_t i = first; i < Other.m_folders.size(); ++i)
        m_folders.push_back({Other.m_folders[i].at + byteBase, Other.m_folders[i].length});
    for (std::size_t i = 0; i < Other.m_rows.size(); ++i) {
        Record row = Other.m_rows[i];
        row.nameAt += byteBase;
        row.folder += folderBase;
        m_rows.push_back(row);
    }
}

void ResultRowStore::clear() {
    m_rows.clear();
    m_folders.clear();
    m_bytes.clear();
}

void ResultRowStore::remove(const std::vector<std::size_t>& Rows) {
    if (Rows.empty())
        return;
    std::size_t kept = Rows.front();
    std::size_t next = 0; // the next entry of Rows
    for (std::size_t row = Rows.front(); row < m_rows.size(); ++row) {
        if (next < Rows.size() && Rows[next] == row) {
            ++next;
            continue;
        }
        m_rows[kept++] = m_rows[row];
    }
    m_rows.truncate(kept);
}

std::string_view ResultRowStore::folder(std::size_t Row) const {
    const FolderRun& folder = m_folders[m_rows[Row].folder];
    return bytes(folder.at, folder.length);
}

std::string_view ResultRowStore::name(std::size_t Row) const {
    const Record& row = m_rows[Row];
    return bytes(row.nameAt, row.nameLength);
}

platform::FileIdentity ResultRowStore::identity(std::size_t Row) const {
    const Record& row = m_rows[Row];
    platform::FileIdentity identity;
    identity.device = row.device;
    identity.inode = row.inode;
    identity.size = row.identitySize;
    identity.modified = {row.modifiedSeconds, row.modifiedNanoseconds};
    identity.birth = {row.birthSeconds, row.birthNanoseconds};
    identity.hasBirth = row.hasBirth != 0;
    return identity;
}

} // namespace velmaro
