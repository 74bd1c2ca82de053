// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"
#include "platform/FindData.h"
#include "platform/FolderHandle.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::platform {

// What describe() tells of one entry: every field of its FindData record but the name, and
// the last change of the entry's own record.
struct EntryDescription {
    std::uint32_t attributes = 0;
    FileTime created = 0;
    FileTime accessed = 0;
    FileTime written = 0;
    std::uint64_t size = 0;
    FileIdentity identity;
    FileStamp changed;
};

// One folder read once into memory: the names of its entries, in directory order, with the
// kind of each entry as the directory itself reports it. "." and ".." are part of the listing
// as directories, as the system gives them.
//
// Made for whole-drive walks: a walker reads a folder once, tests every mask against the
// listing and describes only the entries that match (one stat call each), relative to the
// folder the listing holds open. All names share one growing buffer and the per-entry records
// another; both keep their capacity across reads, so a reused listing allocates nothing once
// it has seen its largest folder.
//
// Not safe for concurrent use, except that other threads may use folder() while the listing's
// owner reads names, describes entries or calls clear().
class FolderListing {
public:
    // What the directory reports an entry to be, without a stat call. Unknown means the file
    // system does not say; describe() answers then.
    enum class EntryKind : std::uint8_t { Unknown, Directory, File, Link, Other };

    using LinkPolicy = FolderHandle::LinkPolicy;

    enum class ReadResult : std::uint8_t {
        Read,       // every entry is listed
        Unreadable, // the folder could not be opened or read; the listing is empty
        Stopped,    // given up early (see read()); the listing is empty
    };

    // Reads the folder Path (raw bytes; a trailing "/" is allowed) in whole, releasing whatever
    // was held before. Returns false, with an empty listing, when the folder cannot be opened
    // or read, and with NoFollow also when Path's last name is a symbolic link (a folder
    // swapped for a link is so never entered). The folder stays open until close(), so that
    // describe() works relative to it even if the folder is renamed meanwhile.
    bool open(std::string_view Path, LinkPolicy Links = LinkPolicy::Follow);

    // Reads Folder in whole and holds it open from now on, releasing whatever was held before.
    // Gives up with Stopped, keeping Folder but no names, as soon as the names and their
    // records would take more than MaxBytes, or Stop (asked before each entry) answers true.
    // Unreadable, with Folder closed, when it is not valid() or cannot be read.
    ReadResult read(FolderHandle Folder,
                    std::size_t MaxBytes = std::numeric_limits<std::size_t>::max(),
                    const std::function<bool()>& Stop = {});

    // Releases the folder. The names stay readable until the next read.
    void close() { m_folder.close(); }

    bool isOpen() const { return m_folder.valid(); }

    // The folder the listing holds open (not valid() after close()).
    const FolderHandle& folder() const { return m_folder; }

    // Holds Folder open in place of the one held before; the names stay.
    void setFolder(FolderHandle Folder) { m_folder = std::move(Folder); }

    // Forgets the names and gives their memory back; the folder stays open.
    void clear();

    // Number of entries read, "." and ".." included.
    std::size_t count() const { return m_entries.size(); }

    // The entry's name as the system gave it (never empty, no "/"; NUL follows it in memory).
    // Valid until the next read. Index must be below count().
    std::string_view name(std::size_t Index) const {
        const Entry& entry = m_entries[Index];
        return {m_names.data() + entry.offset, entry.length};
    }

    EntryKind kind(std::size_t Index) const { return m_entries[Index].kind; }

    // Describes the entry as itself (a link is not followed). Returns false, leaving
    // Description unspecified, when the entry cannot be described: it vanished since the
    // listing was read, the folder is closed, or the folder allows listing but not access to
    // its entries.
    bool describe(std::size_t Index, EntryDescription& Description) const;

    // The same, as the entry's FindData record (name included).
    bool describe(std::size_t Index, FindData& Data) const;

    // Fills Data with Name and Description.
    static void fill(FindData& Data, std::string_view Name, const EntryDescription& Description);

    // The bytes the names and their records take.
    std::size_t memoryUse() const;

private:
    struct Entry {
        std::size_t offset;
        std::uint16_t length;
        EntryKind kind;
    };

    ReadResult readAll(std::size_t maxBytes, const std::function<bool()>& stop);

    FolderHandle m_folder;
    std::string m_names;
    std::vector<Entry> m_entries;
};

} // namespace velmaro::platform
