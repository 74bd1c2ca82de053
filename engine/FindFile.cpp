// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FindFile.h"

#include "engine/DateTime.h"
#include "engine/SearchThread.h"
#include "engine/TargetPaths.h"
#include "platform/FileAttributes.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

namespace velmaro {

namespace {

// The folder attributes that may keep the walk out of a folder when the criteria require
// them unset: hidden, system, device, temporary, offline, encrypted and virtual.
constexpr std::uint32_t folderExclusionBits =
    platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM |
    platform::FILE_ATTRIBUTE_DEVICE | platform::FILE_ATTRIBUTE_TEMPORARY |
    platform::FILE_ATTRIBUTE_OFFLINE | platform::FILE_ATTRIBUTE_ENCRYPTED |
    platform::FILE_ATTRIBUTE_VIRTUAL;

} // namespace

TFindFile::TFindFile(std::unique_ptr<platform::MessageWindow> Handle)
    : m_handle(std::move(Handle)) {}

TFindFile::~TFindFile() {
    m_destroying = true;
    Abort();
    // The worker posts its completion as its last action; joining it here and then destroying
    // the window drops that post, so nothing runs on a component that is gone.
    m_thread.reset();
    m_handle.reset();
}

void TFindFile::Execute() {
    if (Busy())
        return;
    InitSearch();
    if (!m_threaded) {
        try {
            SearchTargets();
        } catch (...) {
            DoneSearch();
            throw;
        }
        DoneSearch();
        return;
    }
    try {
        m_thread = std::make_unique<TSearchThread>(*this, m_threadPriority);
    } catch (...) {
        DoneSearch();
        throw;
    }
}

void TFindFile::Abort() {
    if (m_busy.load(std::memory_order_acquire))
        m_aborted.store(true, std::memory_order_release);
}

void TFindFile::InitSearch() {
    m_busy = true;
    m_aborted.store(false, std::memory_order_release);
    m_runCriteria = std::make_unique<TSearchCriteria>();
    m_runCriteria->Assign(&m_criteria);
    m_excludedFolderAttributes = m_runCriteria->Attributes().UnsetMask() & folderExclusionBits;
    m_listingFilter.reset(m_runCriteria->Attributes());
    m_runReaders = m_readers;
    DoSearchBegin();
}

void TFindFile::DoneSearch() {
    m_runCriteria.reset();
    m_busy = false;
    DoSearchFinish();
}

void TFindFile::postSearchDone() {
    m_handle->post([this] { searchDone(); });
}

void TFindFile::searchDone() {
    m_thread.reset();
    DoneSearch();
}

void TFindFile::DoSearchBegin() {
    if (OnSearchBegin)
        OnSearchBegin(*this);
}

void TFindFile::DoSearchFinish() {
    if (OnSearchFinish && !m_destroying)
        OnSearchFinish(*this);
}

TFolderIgnore TFindFile::DoFolderChange(const std::string& Folder) {
    TFolderIgnore ignore = fiNone;
    if (!aborted() && OnFolderChange)
        OnFolderChange(*this, Folder, ignore);
    return ignore;
}

void TFindFile::DoFileMatch(const std::string& Folder, const platform::FindData& FindData) {
    if (aborted() || !OnFileMatch)
        return;
    TFileDetails details;
    details.Location = Folder;
    details.Name.assign(FindData.cFileName, strnlen(FindData.cFileName, platform::MAX_PATH));
    details.Attributes = FindData.dwFileAttributes;
    details.Size = static_cast<std::int64_t>((std::uint64_t{FindData.nFileSizeHigh} << 32) |
                                             FindData.nFileSizeLow);
    details.CreatedTime = FileTimeToLocalDateTime(FindData.ftCreationTime);
    details.ModifiedTime = FileTimeToLocalDateTime(FindData.ftLastWriteTime);
    details.AccessedTime = FileTimeToLocalDateTime(FindData.ftLastAccessTime);
    details.Identity = FindData.Identity;
    OnFileMatch(*this, details);
}

bool TFindFile::IsAcceptable(const std::string& Folder, const platform::FindData& FindData) {
    return !aborted() && m_runCriteria->Matches(Folder, FindData);
}

bool TFindFile::MayBeAcceptable(const std::string& Folder, std::string_view Name,
                                platform::FolderListing::EntryKind Kind) {
    // The path filters need only the name, so an entry they reject costs no stat call either.
    return !aborted() && m_listingFilter.mayPass(Name, Kind) &&
           m_runCriteria->Files().PassesFilters(Folder, Name);
}

std::size_t TFindFile::defaultReaders() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 2, MaxReaders);
}

void TFindFile::SearchTargets() {
    TTargetPaths& targets = m_runCriteria->Files().TargetPaths();
    const FolderRules rules{&m_masks, &m_listingFilter, m_excludedFolderAttributes};
    for (int i = 0; i < targets.Count() && !aborted(); ++i) {
        const TTargetPath& target = targets.Items(i);
        m_masks.assign(target.Masks);
        m_folder = target.Folder;
        const WalkLimits limits{target.Subfolders, target.MinLevel, target.MaxLevel};
        // A walk that stays in its target folder has nothing to read ahead.
        const bool descends = limits.partsAt(1).subfolders;
        FolderReadAhead walk(rules, limits, descends ? m_runReaders : 0, m_aborted);
        SearchFolder(walk);
    }
}

void TFindFile::SearchFolder(FolderReadAhead& walk) {
    FolderReadAhead::Folder* folder = &walk.start(m_folder);
    if (!enterFolder(walk, *folder)) {
        walk.leave(*folder);
        return;
    }
    // Depth first without recursion, so that depth has no limit: folder is the deepest folder
    // entered, and m_folder names each folder while its events fire.
    while (folder != nullptr) {
        if (aborted())
            return;
        if (folder->hasNext()) {
            m_folder.resize(folder->pathLength);
            m_folder.append(folder->nextName()).push_back('/');
            FolderReadAhead::Folder& child = walk.enter(*folder);
            if (enterFolder(walk, child))
                folder = &child;
            else
                walk.leave(child);
        } else {
            FolderReadAhead::Folder* const parent = folder->parent();
            walk.leave(*folder);
            folder = parent;
        }
    }
}

bool TFindFile::enterFolder(FolderReadAhead& walk, FolderReadAhead::Folder& folder) {
    if (aborted())
        return false;
    const TFolderIgnore ignore = DoFolderChange(m_folder);
    FolderParts parts = walk.limits().partsAt(folder.depth());
    parts.files = parts.files && (ignore == fiNone || ignore == fiJustSubfolders);
    parts.subfolders = parts.subfolders && (ignore == fiNone || ignore == fiJustThis);
    if (!parts.files && !parts.subfolders)
        return false;
    // A folder that cannot be read counts as empty.
    FolderRead* const read = walk.take(folder, parts);
    if (read == nullptr)
        return false;
    if (parts.files)
        filePass(*read);
    if (!parts.subfolders || aborted() || read->subfolderCount() == 0)
        return false;
    read->forgetEntries();
    folder.pathLength = m_folder.size();
    return true;
}

void TFindFile::filePass(const FolderRead& read) {
    const std::size_t count = read.listing().count();
    for (std::size_t group = 0; group < m_masks.groupCount(); ++group) {
        // Each entry's name was tested once against the group's masks; the reports follow
        // mask by mask, each in directory order.
        for (std::uint64_t masks = read.anyMatch(group); masks != 0; masks &= masks - 1) {
            const std::uint64_t bit = masks & -masks;
            for (std::size_t i = 0; i < count; ++i) {
                if (aborted())
                    return;
                if (read.matches(i, group) & bit)
                    testEntry(read, i);
            }
        }
    }
}

void TFindFile::testEntry(const FolderRead& read, std::size_t index) {
    const platform::FolderListing& listing = read.listing();
    const std::string_view name = listing.name(index);
    if (!MayBeAcceptable(m_folder, name, listing.kind(index)))
        return;
    // The description made while the folder was read, else one made now. An entry that
    // vanished since the listing was read is left out.
    const platform::EntryDescription* description = read.description(index);
    platform::EntryDescription own;
    if (description == nullptr) {
        if (!listing.describe(index, own))
            return;
        description = &own;
    }
    platform::FolderListing::fill(m_findData, name, *description);
    if (IsAcceptable(m_folder, m_findData))
        DoFileMatch(m_folder, m_findData);
}

} // namespace velmaro
