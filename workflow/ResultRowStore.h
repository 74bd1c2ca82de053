// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DateTime.h"
#include "platform/FileIdentity.h"
#include "workflow/ChunkedVector.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

struct TFileDetails;

// The rows of a result list in compact form: for each row the folder and the name as the bytes
// the search reported, the size, the creation time, the identity and the check state. The
// bytes live in one buffer; a folder's bytes are kept once for each run of rows in that folder
// (the files of one folder arrive together), so a row costs 80 bytes and its name. The rows are
// kept in chunks: appending never copies the rows held.
// A plain value: not thread-safe, one thread at a time.
class ResultRowStore {
public:
    // The number of rows.
    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }
    // The bytes of folders and names held, including those of removed rows until clear().
    std::size_t byteCount() const { return m_bytes.size(); }

    // Appends File as a checked row. Throws std::length_error for a name of 1 GiB or more.
    void append(const TFileDetails& File);
    // Appends every row of Other after the last row, check states included.
    void append(const ResultRowStore& Other);
    // Removes every row and keeps most of the memory for the next rows.
    void clear();
    // Removes the rows at the indexes Rows lists in increasing order, in one pass over the rows
    // after the first of them; the other rows keep their order. The removed rows' bytes stay
    // until clear().
    void remove(const std::vector<std::size_t>& Rows);

    // What the search reported for row Row (less than size()): the folder, ending in "/", and
    // the name; the views are valid until the store next changes.
    std::string_view folder(std::size_t Row) const;
    std::string_view name(std::size_t Row) const;
    std::int64_t fileSize(std::size_t Row) const { return m_rows[Row].size; }
    TDateTime created(std::size_t Row) const { return m_rows[Row].created; }
    platform::FileIdentity identity(std::size_t Row) const;

    bool isChecked(std::size_t Row) const { return m_rows[Row].checked != 0; }
    void setChecked(std::size_t Row, bool Checked) { m_rows[Row].checked = Checked ? 1 : 0; }

private:
    struct FolderRun {
        std::size_t at;
        std::size_t length;
    };
    struct Record {
        std::uint64_t nameAt; // offset of the name in m_bytes
        std::uint32_t folder; // index in m_folders
        std::uint32_t nameLength : 30;
        std::uint32_t checked : 1;
        std::uint32_t hasBirth : 1;
        std::int64_t size;
        TDateTime created;
        std::uint64_t device;
        std::uint64_t inode;
        std::uint64_t identitySize;
        std::int64_t modifiedSeconds;
        std::int64_t birthSeconds;
        std::uint32_t modifiedNanoseconds;
        std::uint32_t birthNanoseconds;
    };
    static_assert(sizeof(Record) == 80, "a row's numbers take 80 bytes");

    std::string_view bytes(std::size_t at, std::size_t length) const {
        return std::string_view(m_bytes).substr(at, length);
    }
    // The index of the folder for a new row: the last folder when it is the same, else a new one.
    std::uint32_t folderFor(std::string_view Folder);

    ChunkedVector<Record> m_rows;
    std::vector<FolderRun> m_folders;
    std::string m_bytes;
};

} // namespace velmaro
