#include "engine/FindFile.h"

#include "engine/DateTime.h"
#include "engine/SearchThread.h"
#include "engine/TargetPaths.h"
#include "platform/FileAttributes.h"

#include <cstring>
#include <utility>

namespace velmaro {

namespace {

// The folder attributes that may keep the walk out of a folder when the criteria require
// them unset: hidden, system, device, temporary, offline, encrypted and virtual.
constexpr std::uint32_t folderExclusionBits = 0x15146;

// Folders the walk never enters: a link's target and another file system mounted here may
// lie anywhere, and entering them would walk in circles or leave the chosen drive.
constexpr std::uint32_t neverEntered = platform::FILE_ATTRIBUTE_REPARSE_POINT;

bool isDotOrDotDot(std::string_view name) {
    return name == "." || name == "..";
}

// Runs on every way out of a scope, exceptions included.
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(std::move(f)) {}
    ~ScopeExit() { m_f(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F m_f;
};

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
    DoSearchBegin();
}

void TFindFile::DoneSearch() {
    m_runCriteria.reset();
    m_currentTarget = nullptr;
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

void TFindFile::SearchTargets() {
    TTargetPaths& targets = m_runCriteria->Files().TargetPaths();
    for (int i = 0; i < targets.Count() && !aborted(); ++i) {
        const TTargetPath& target = targets.Items(i);
        m_level = 0;
        m_depth = 0;
        m_currentTarget = &target;
        m_masks.assign(target.Masks);
        m_folder = target.Folder;
        SearchFolder();
    }
}

void TFindFile::SearchFolder() {
    if (aborted())
        return;
    ++m_level;
    ++m_depth;
    ScopeExit leave([this] {
        --m_level;
        --m_depth;
    });
    const TFolderIgnore ignore = DoFolderChange(m_folder);
    const TTargetPath& target = *m_currentTarget;
    const bool filesWanted =
        (ignore == fiNone || ignore == fiJustSubfolders) && m_level >= target.MinLevel;
    const bool subfoldersWanted = target.Subfolders && (ignore == fiNone || ignore == fiJustThis) &&
                                  (target.MaxLevel == 0 || m_level < target.MaxLevel);
    if (!filesWanted && !subfoldersWanted)
        return;

    if (m_subfolders.size() < m_depth)
        m_subfolders.emplace_back();
    std::string& subfolders = m_subfolders[m_depth - 1];
    subfolders.clear();
    // A folder that cannot be read counts as empty. Only a target folder itself may be reached
    // through a link; a subfolder that became a link since its parent was read is not entered.
    const auto links = m_depth == 1 ? platform::FolderListing::LinkPolicy::Follow
                                    : platform::FolderListing::LinkPolicy::NoFollow;
    if (!m_listing.open(m_folder, links))
        return;
    if (filesWanted)
        filePass();
    if (subfoldersWanted && !aborted())
        chooseSubfolders(subfolders);
    // The listing is a snapshot: close the folder before descending, so that a deep tree
    // never runs out of descriptors.
    m_listing.close();

    const std::size_t folderLength = m_folder.size();
    for (std::size_t at = 0; at < subfolders.size();) {
        if (aborted())
            return;
        const std::size_t end = subfolders.find('\0', at);
        m_folder.append(subfolders, at, end - at).push_back('/');
        at = end + 1;
        SearchFolder();
        m_folder.resize(folderLength);
    }
}

void TFindFile::filePass() {
    const platform::FolderListing& listing = m_listing;
    for (std::size_t group = 0; group < m_masks.groupCount(); ++group) {
        // Each entry's name is tested once against the group's masks; the reports then follow
        // mask by mask, each in directory order.
        m_matches.assign(listing.count(), 0);
        std::uint64_t anyMatch = 0;
        for (std::size_t i = 0; i < listing.count(); ++i) {
            if (aborted())
                return;
            const std::string_view name = listing.name(i);
            // "." and ".." are always folders; the walk never reports them.
            if (!isDotOrDotDot(name))
                anyMatch |= m_matches[i] = m_masks.matches(group, name);
        }
        while (anyMatch != 0) {
            const std::uint64_t bit = anyMatch & -anyMatch;
            anyMatch &= anyMatch - 1;
            for (std::size_t i = 0; i < listing.count(); ++i) {
                if (aborted())
                    return;
                if (m_matches[i] & bit)
                    testEntry(i);
            }
        }
    }
}

void TFindFile::testEntry(std::size_t index) {
    const platform::FolderListing& listing = m_listing;
    // An entry that vanished since the listing was read is left out.
    if (!MayBeAcceptable(m_folder, listing.name(index), listing.kind(index)) ||
        !listing.describe(index, m_findData))
        return;
    if (IsAcceptable(m_folder, m_findData))
        DoFileMatch(m_folder, m_findData);
}

void TFindFile::chooseSubfolders(std::string& names) {
    const platform::FolderListing& listing = m_listing;
    for (std::size_t i = 0; i < listing.count(); ++i) {
        if (aborted())
            return;
        const auto kind = listing.kind(i);
        if (kind != platform::FolderListing::EntryKind::Directory &&
            kind != platform::FolderListing::EntryKind::Unknown)
            continue;
        const std::string_view name = listing.name(i);
        if (isDotOrDotDot(name))
            continue;
        // The description tells a mount point from a plain folder.
        if (!listing.describe(i, m_findData))
            continue;
        const std::uint32_t attributes = m_findData.dwFileAttributes;
        if ((attributes & platform::FILE_ATTRIBUTE_DIRECTORY) &&
            (attributes & (m_excludedFolderAttributes | neverEntered)) == 0)
            names.append(name).push_back('\0');
    }
}

} // namespace velmaro
