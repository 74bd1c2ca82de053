// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ListingFilter.h"
#include "engine/MaskSet.h"
#include "platform/FolderListing.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// What the walk of one target asks of every folder it reads. Fixed before the walk starts and
// only read while it runs, so every thread that reads folders for the walk shares one.
struct FolderRules {
    const MaskSet* masks = nullptr;
    // Tells which entries the file pass may accept, judging by name and kind alone.
    const ListingFilter* filter = nullptr;
    // Folder attributes that keep the walk out of a folder.
    std::uint32_t excludedFolderAttributes = 0;
};

// Which parts of a folder to prepare.
struct FolderParts {
    bool files = false;         // which masks each entry matches
    bool describeFiles = false; // with files: describe the matches the filter lets through
    bool subfolders = false;    // the subfolders the walk may enter
};

// One folder read for the walk: its listing, which masks each entry matches, the descriptions
// the file pass is likely to want, and the subfolders the walk may enter, each with what the
// system said of it when it was listed. A reader thread makes one ahead of the walk, or the
// walk makes it itself; afterwards the walk reads it, and other threads only read subfolders
// and open them through folder().
class FolderRead {
public:
    using Outcome = platform::FolderListing::ReadResult;

    // A subfolder the walk may enter, as it was when its folder was read.
    struct Subfolder {
        std::uint32_t nameOffset = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        platform::FileStamp changed;
    };

    // Reads Folder and prepares Parts of it under Rules; see FolderListing::read() for
    // MaxBytes (which here also counts what is prepared), Stop and the outcomes. Stop is also
    // asked before each entry is described. Whatever was read before is forgotten.
    Outcome read(platform::FolderHandle Folder, const FolderRules& Rules, FolderParts Parts,
                 std::size_t MaxBytes = std::numeric_limits<std::size_t>::max(),
                 const std::function<bool()>& Stop = {});

    // What the last successful read prepared.
    FolderParts parts() const { return m_parts; }

    const platform::FolderListing& listing() const { return m_listing; }

    // The masks of group Group that entry Entry matches, as MaskSet::matches() gives them.
    // Only with the files part.
    std::uint64_t matches(std::size_t Entry, std::size_t Group) const {
        return m_matches[Group * m_listing.count() + Entry];
    }

    // The masks of group Group that any entry matches. Only with the files part.
    std::uint64_t anyMatch(std::size_t Group) const { return m_anyMatch[Group]; }

    // The description made for entry Entry while the folder was read, or null when there is
    // none (the entry was not worth describing, or could not be described then).
    const platform::EntryDescription* description(std::size_t Entry) const;

    std::size_t subfolderCount() const { return m_subfolders.size(); }
    const Subfolder& subfolder(std::size_t Index) const { return m_subfolders[Index]; }
    // The subfolder's name, NUL-terminated; valid until the next read.
    const char* subfolderName(std::size_t Index) const {
        return m_subfolderNames.data() + m_subfolders[Index].nameOffset;
    }

    // Forgets the entries and their descriptions, keeping only the subfolders and the open
    // folder: what a walk needs once it has been through a folder's files.
    void forgetEntries();

    const platform::FolderHandle& folder() const { return m_listing.folder(); }
    void setFolder(platform::FolderHandle Folder) { m_listing.setFolder(std::move(Folder)); }
    void closeFolder() { m_listing.close(); }

    // The bytes this read takes.
    std::size_t memoryUse() const;

private:
    bool matchesAny(std::size_t entry) const;
    Outcome describeFiles(const FolderRules& rules, std::size_t maxBytes,
                          const std::function<bool()>& stop);
    Outcome chooseSubfolders(const FolderRules& rules, std::size_t maxBytes,
                             const std::function<bool()>& stop);

    platform::FolderListing m_listing;
    FolderParts m_parts;
    std::vector<std::uint64_t> m_matches; // group by group, entry by entry
    std::vector<std::uint64_t> m_anyMatch;
    std::vector<std::uint32_t> m_slots; // per entry: 0, or 1 + its index in m_descriptions
    std::vector<platform::EntryDescription> m_descriptions;
    std::string m_subfolderNames; // each followed by a NUL
    std::vector<Subfolder> m_subfolders;
};

} // namespace velmaro
