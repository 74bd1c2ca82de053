// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FileDetails.h"
#include "engine/FolderIgnore.h"
#include "engine/FolderReadAhead.h"
#include "engine/ListingFilter.h"
#include "engine/MaskSet.h"
#include "engine/SearchCriteria.h"
#include "engine/ThreadPriority.h"
#include "platform/FindData.h"
#include "platform/FolderListing.h"
#include "platform/MessageWindow.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmaro {

class TFindFile;
class TSearchThread;
struct TTargetPath;

// The events of the search component; Sender is always the component.
using TNotifyEvent = std::function<void(TFindFile& Sender)>;
// Folder is the folder just entered, ending in "/"; IgnoreFolder comes in as fiNone and the
// handler may change it.
using TFolderChangeEvent =
    std::function<void(TFindFile& Sender, const std::string& Folder, TFolderIgnore& IgnoreFolder)>;
// FileInfo lives only for the duration of the call.
using TFileMatchEvent = std::function<void(TFindFile& Sender, const TFileDetails& FileInfo)>;

// The search component: walks the target folders of its Criteria depth first and reports
// every directory entry that matches through its events, either inside Execute or, with
// Threaded set, on a worker thread while the caller's thread goes on.
//
// The walk never descends into a symbolic link or a mount point and reads each folder once
// (every mask is tested against that one listing; reports keep the order mask by mask, entries
// in directory order). It opens every folder relative to the folder that holds it, so depth
// has no limit, and holds only a bounded number of folders open however deep the tree. An
// entry is described (one stat call) only when it can still match. Reader threads read the
// folders the walk will enter next (see setReaders()); the events, their order and every field
// stay those of a walk that reads each folder itself when it enters it.
//
// A threaded search ends on the thread that owns the component's message window: the worker
// posts its completion there, and that thread joins it and fires OnSearchFinish. The owner
// thread must therefore keep serving its event loop while a threaded search runs.
class TFindFile {
public:
    // Handle is the component's message window, owned from now on; its owner thread is the
    // component's owner thread. Criteria start at their defaults, Threaded false, priority
    // tpNormal.
    explicit TFindFile(std::unique_ptr<platform::MessageWindow> Handle);

    // Destroying a busy component aborts the search, waits until the worker has ended and
    // fires no OnSearchFinish.
    virtual ~TFindFile();

    TFindFile(const TFindFile&) = delete;
    TFindFile& operator=(const TFindFile&) = delete;

    // What to search for. Changing it during a search does not affect the running search.
    TSearchCriteria& Criteria() { return m_criteria; }
    const TSearchCriteria& Criteria() const { return m_criteria; }
    // Copies Value's settings in.
    void SetCriteria(const TSearchCriteria& Value) { m_criteria.Assign(&Value); }

    bool Threaded() const { return m_threaded; }
    void SetThreaded(bool Value) { m_threaded = Value; }

    // The worker's priority, applied where the system allows and silently ignored otherwise.
    TThreadPriority ThreadPriority() const { return m_threadPriority; }
    void SetThreadPriority(TThreadPriority Value) { m_threadPriority = Value; }

    // The most reader threads a search may use.
    static constexpr std::size_t MaxReaders = 64;
    // The number of cores, and at least 2.
    static std::size_t defaultReaders();

    // How many reader threads read folders ahead of the walk (they run at the walk's
    // priority); 0: the walk reads every folder itself. Default: defaultReaders(). A value
    // above MaxReaders counts as MaxReaders. Set it on the owner thread; a running search
    // keeps the number it started with.
    std::size_t readers() const { return m_readers; }
    void setReaders(std::size_t Value) { m_readers = std::min(Value, MaxReaders); }

    // OnSearchBegin fires inside Execute on the calling thread; OnFolderChange and
    // OnFileMatch fire on the thread that walks (the worker in a threaded search) and must
    // guard whatever they share; OnSearchFinish fires on the owner thread after Busy became
    // false, so it may start the next search.
    TFileMatchEvent OnFileMatch;
    TFolderChangeEvent OnFolderChange;
    TNotifyEvent OnSearchBegin;
    TNotifyEvent OnSearchFinish;

    // A search has started and not yet finished. Read it on the owner thread.
    bool Busy() const { return m_busy.load(std::memory_order_acquire); }
    // Abort was called during the current or the last search.
    bool Aborted() const { return m_aborted.load(std::memory_order_acquire); }

    // Starts a search; does nothing when Busy. Not threaded, it returns when the search has
    // finished, and an exception from a handler or a test leaves it after OnSearchFinish.
    // Threaded, it returns once the worker runs; an exception on the worker is shown through
    // the application error hook and the search finishes as usual.
    void Execute();

    // Stops a running search: no OnFolderChange or OnFileMatch follows once the walk sees the
    // flag, which it tests before every entry. Callable from any thread; ignored when idle.
    void Abort();

protected:
    // Fires OnSearchBegin.
    virtual void DoSearchBegin();
    // Fires OnSearchFinish, unless the component is being destroyed.
    virtual void DoSearchFinish();
    // Fires OnFolderChange and returns its answer; fiNone when aborted or unassigned.
    virtual TFolderIgnore DoFolderChange(const std::string& Folder);
    // Builds the record of a match and fires OnFileMatch; nothing when aborted or unassigned.
    virtual void DoFileMatch(const std::string& Folder, const platform::FindData& FindData);
    // Whether the entry FindData of Folder matches the running search's criteria; false when
    // aborted.
    virtual bool IsAcceptable(const std::string& Folder, const platform::FindData& FindData);
    // Whether an entry can still be acceptable judging by its name and the kind its folder's
    // listing reports, before it is described. The walk describes and tests only entries for
    // which this holds; a descendant that lets IsAcceptable accept more entries must let this
    // accept them too.
    virtual bool MayBeAcceptable(const std::string& Folder, std::string_view Name,
                                 platform::FolderListing::EntryKind Kind);

private:
    friend class TSearchThread;

    void InitSearch();
    void DoneSearch();
    // Walks every target of the running search; runs on the worker in a threaded search.
    void SearchTargets();
    // Walks the target folder m_folder names and everything below it.
    void SearchFolder(FolderReadAhead& walk);
    // Fires the folder's event and runs its file pass; true when its subfolders are to be
    // walked.
    bool enterFolder(FolderReadAhead& walk, FolderReadAhead::Folder& folder);
    void filePass(const FolderRead& read);
    void testEntry(const FolderRead& read, std::size_t index);
    // Called by the worker as its last action: the rest happens on the owner thread.
    void postSearchDone();
    void searchDone();
    bool aborted() const { return m_aborted.load(std::memory_order_relaxed); }

    std::unique_ptr<platform::MessageWindow> m_handle;
    TSearchCriteria m_criteria;
    bool m_threaded = false;
    TThreadPriority m_threadPriority = tpNormal;
    std::size_t m_readers = defaultReaders();
    std::atomic<bool> m_busy = false; // written on the owner thread, read by Abort anywhere
    bool m_destroying = false;
    std::atomic<bool> m_aborted = false;
    std::unique_ptr<TSearchCriteria> m_runCriteria;
    std::unique_ptr<TSearchThread> m_thread;

    // State of the walk, touched only by the thread that walks.
    std::uint32_t m_excludedFolderAttributes = 0;
    std::size_t m_runReaders = 0; // the readers of the running search
    std::string m_folder;         // the folder being walked, ending in "/"
    MaskSet m_masks;              // the current target's masks
    ListingFilter m_listingFilter;
    platform::FindData m_findData;
};

} // namespace velmaro
