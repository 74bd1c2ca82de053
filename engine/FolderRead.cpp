// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FolderRead.h"

#include "platform/FileAttributes.h"

namespace velmaro {

namespace {

using platform::FolderListing;

// Folders the walk never enters: a link's target and another file system mounted here may
// lie anywhere, and entering them would walk in circles or leave the chosen drive.
constexpr std::uint32_t neverEntered = platform::FILE_ATTRIBUTE_REPARSE_POINT;

bool isDotOrDotDot(std::string_view name) {
    return name == "." || name == "..";
}

} // namespace

FolderRead::Outcome FolderRead::read(platform::FolderHandle Folder, const FolderRules& Rules,
                                     FolderParts Parts, std::size_t MaxBytes,
                                     const std::function<bool()>& Stop) {
    m_parts = {};
    m_matches.clear();
    m_anyMatch.clear();
    m_slots.clear();
    m_descriptions.clear();
    m_subfolderNames.clear();
    m_subfolders.clear();
    Outcome outcome = m_listing.read(std::move(Folder), MaxBytes, Stop);
    if (outcome != Outcome::Read)
        return outcome;

    const std::size_t count = m_listing.count();
    if (Parts.files) {
        const MaskSet& masks = *Rules.masks;
        m_matches.assign(masks.groupCount() * count, 0);
        m_anyMatch.assign(masks.groupCount(), 0);
        for (std::size_t group = 0; group < masks.groupCount(); ++group) {
            // "." and ".." are always folders; the walk never reports them.
            for (std::size_t i = 0; i < count; ++i)
                if (const std::string_view name = m_listing.name(i); !isDotOrDotDot(name))
                    m_anyMatch[group] |= m_matches[group * count + i] = masks.matches(group, name);
        }
        if (Parts.describeFiles)
            outcome = describeFiles(Rules, MaxBytes, Stop);
    }
    if (outcome == Outcome::Read && Parts.subfolders)
        outcome = chooseSubfolders(Rules, MaxBytes, Stop);
    if (outcome == Outcome::Read)
        m_parts = Parts;
    return outcome;
}

FolderRead::Outcome FolderRead::describeFiles(const FolderRules& rules, std::size_t maxBytes,
                                              const std::function<bool()>& stop) {
    const std::size_t count = m_listing.count();
    m_slots.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (!matchesAny(i) || !rules.filter->mayPass(m_listing.name(i), m_listing.kind(i)))
            continue;
        if (stop && stop())
            return Outcome::Stopped;
        platform::EntryDescription description;
        // An entry that cannot be described now is tried again when the walk wants it.
        if (m_listing.describe(i, description)) {
            m_descriptions.push_back(description);
            m_slots[i] = static_cast<std::uint32_t>(m_descriptions.size());
        }
    }
    return memoryUse() > maxBytes ? Outcome::Stopped : Outcome::Read;
}

FolderRead::Outcome FolderRead::chooseSubfolders(const FolderRules& rules, std::size_t maxBytes,
                                                 const std::function<bool()>& stop) {
    for (std::size_t i = 0; i < m_listing.count(); ++i) {
        const auto kind = m_listing.kind(i);
        if (kind != FolderListing::EntryKind::Directory &&
            kind != FolderListing::EntryKind::Unknown)
            continue;
        const std::string_view name = m_listing.name(i);
        if (isDotOrDotDot(name))
            continue;
        if (stop && stop())
            return Outcome::Stopped;
        // The description tells a mount point from a plain folder.
        platform::EntryDescription own;
        const platform::EntryDescription* description = this->description(i);
        if (description == nullptr) {
            if (!m_listing.describe(i, own))
                continue;
            description = &own;
        }
        const std::uint32_t attributes = description->attributes;
        if ((attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & (rules.excludedFolderAttributes | neverEntered)) != 0)
            continue;
        m_subfolders.push_back({static_cast<std::uint32_t>(m_subfolderNames.size()),
                                description->identity.device, description->identity.inode,
                                description->changed});
        m_subfolderNames.append(name).push_back('\0');
    }
    return memoryUse() > maxBytes ? Outcome::Stopped : Outcome::Read;
}

bool FolderRead::matchesAny(std::size_t entry) const {
    for (std::size_t group = 0; group < m_anyMatch.size(); ++group)
        if (matches(entry, group) != 0)
            return true;
    return false;
}

const platform::EntryDescription* FolderRead::description(std::size_t Entry) const {
    if (Entry >= m_slots.size() || m_slots[Entry] == 0)
        return nullptr;
    return &m_descriptions[m_slots[Entry] - 1];
}

void FolderRead::forgetEntries() {
    m_listing.clear();
    std::vector<std::uint64_t>().swap(m_matches);
    std::vector<std::uint32_t>().swap(m_slots);
    std::vector<platform::EntryDescription>().swap(m_descriptions);
    m_parts.files = false;
    m_parts.describeFiles = false;
}

std::size_t FolderRead::memoryUse() const {
    return m_listing.memoryUse() +
           (m_matches.capacity() + m_anyMatch.capacity()) * sizeof(std::uint64_t) +
           m_slots.capacity() * sizeof(std::uint32_t) +
           m_descriptions.capacity() * sizeof(platform::EntryDescription) +
           m_subfolderNames.capacity() + m_subfolders.capacity() * sizeof(Subfolder);
}

} // namespace velmaro
