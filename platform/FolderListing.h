#pragma once

#include "platform/FindData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::platform {

// One folder read once into memory: the names of its entries, in directory order, with the
// kind of each entry as the directory itself reports it. "." and ".." are part of the listing
// as directories, as the system gives them.
//
// Made for whole-drive walks: a walker reads a folder once, tests every mask against the
// listing, describes only the entries that match (one stat call each), then closes the listing
// before it descends, so a deep tree never holds more than one open folder. All names share one
// growing buffer and the per-entry records another; both keep their capacity across open()
// calls, so a reused listing allocates nothing once it has seen its largest folder.
//
// Not safe for concurrent use; one listing per thread (or per depth level).
class FolderListing {
public:
    // What the directory reports an entry to be, without a stat call. Unknown means the file
    // system does not say; describe() answers then.
    enum class EntryKind : std::uint8_t { Unknown, Directory, File, Link, Other };

    FolderListing() = default;
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Whether open() may follow a symbolic link that stands at Path's last name.
    enum class LinkPolicy : std::uint8_t { Follow, NoFollow };

    // Reads the folder Path (raw bytes; a trailing "/" is allowed) in whole, closing whatever
    // was open before. Returns false, with an empty listing, when the folder cannot be opened
    // or read, and with NoFollow also when Path's last name is a symbolic link (a walker passes
    // NoFollow for the subfolders it found, so a folder swapped for a link meanwhile is not
    // entered). The folder stays open until close(), so that describe() works relative to it
    // even if the folder is renamed meanwhile.
    bool open(std::string_view Path, LinkPolicy Links = LinkPolicy::Follow);

    // Releases the folder's descriptor. The names stay readable until the next open().
    void close();

    bool isOpen() const { return m_fd >= 0; }

    // Number of entries read, "." and ".." included.
    std::size_t count() const { return m_entries.size(); }

    // The entry's name as the system gave it (never empty, no "/"; NUL follows it in memory).
    // Valid until the next open(). Index must be below count().
    std::string_view name(std::size_t Index) const {
        const Entry& entry = m_entries[Index];
        return {m_names.data() + entry.offset, entry.length};
    }

    EntryKind kind(std::size_t Index) const { return m_entries[Index].kind; }

    // Fills Data for the entry as itself (a link is not followed): the attribute word, the
    // three file times, the size and the name. Returns false, leaving Data unspecified, when
    // the entry cannot be described: it vanished since the listing was read, the folder is
    // closed, or the folder allows listing but not access to its entries.
    bool describe(std::size_t Index, FindData& Data) const;

private:
    struct Entry {
        std::size_t offset;
        std::uint16_t length;
        EntryKind kind;
    };

    bool readAll();

    int m_fd = -1;
    std::string m_path;
    std::string m_names;
    std::vector<Entry> m_entries;
    std::vector<char> m_readBuffer;
};

} // namespace velmaro::platform
