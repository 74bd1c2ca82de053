// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FolderRead.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmaro {

// How deep a target is walked, and where its files are looked at.
struct WalkLimits {
    bool subfolders = true;
    std::uint16_t minLevel = 0;
    std::uint16_t maxLevel = 0; // 0: no limit

    // What the limits allow in a folder at Depth (the target folder is 1). The level is the
    // depth's low 16 bits, as the walk's level counter has always been.
    FolderParts partsAt(std::size_t Depth) const;
};

// The folders of one target's walk, read in walk order by a small pool of reader threads
// ahead of the walk, while the walk takes each folder's read in its own order, depth first,
// and reports exactly as if it had read every folder itself when it entered it.
//
// The readers pick, under one lock, the first folder in walk order that nobody reads yet and
// whose parent has been read, within a window of at most MaxWindowFolders read folders the walk
// has not taken yet and MaxWindowBytes of their memory; a reader gives up a folder larger than
// MaxListingBytes, and the walk reads that one itself. Folders are opened relative to their
// parent folder, so no path is looked up twice and depth has no limit; the walk keeps at most
// MaxHeldFolders of its own folders open and reopens a closed one from its subfolder ("..",
// checked against the folder's identity) or, failing that, name by name from the deepest
// folder it still holds. When the walk takes a folder read ahead, it checks that the folder
// has not changed since (nor been replaced or removed), and reads it again if it has.
//
// Threads: one thread, the walk, calls every function; the readers are internal. Abort (the
// flag given) and destruction stop the readers within one entry; the destructor waits for
// them. With 0 readers the walk reads every folder itself.
class FolderReadAhead {
public:
    static constexpr std::size_t MaxWindowFolders = 64;
    static constexpr std::size_t MaxWindowBytes = 4 << 20;
    static constexpr std::size_t MaxListingBytes = 1 << 20;
    static constexpr std::size_t MaxHeldFolders = 32;

    // One folder of the walk.
    class Folder {
    public:
        Folder(Folder* parent, std::size_t index, std::size_t depth);
        Folder(const Folder&) = delete;
        Folder& operator=(const Folder&) = delete;

        // The folder that holds this one in the walk (null for the target folder).
        Folder* parent() const { return m_parent; }
        // The target folder is 1, its subfolders 2, and so on; never wraps.
        std::size_t depth() const { return m_depth; }
        // Whether the walk has a subfolder left to enter here.
        bool hasNext() const { return m_listed && m_next < m_read.subfolderCount(); }
        // The name of that subfolder.
        const char* nextName() const { return m_read.subfolderName(m_next); }

        // Owned by the walk: the length of the folder's path, to which it returns.
        std::size_t pathLength = 0;

    private:
        friend class FolderReadAhead;
        enum class State : std::uint8_t {
            Walking, // the walk has it
            Reading, // a reader reads it
            Ready,   // read ahead; the walk has not taken it yet
            Unread,  // a reader gave it up; the walk reads it itself
        };

        Folder* m_parent;
        std::size_t m_index; // which subfolder of the parent this is
        std::size_t m_depth;
        State m_state = State::Walking;
        bool m_listed = false;     // its subfolders are known and may be read
        bool m_held = false;       // on the walk's path and counted among its open folders
        std::uint32_t m_pins = 0;  // readers opening one of its subfolders through it
        std::size_t m_next = 0;    // the next subfolder the walk enters
        std::size_t m_charged = 0; // its bytes counted in the window
        std::atomic<bool> m_cancelled = false;
        FolderRead m_read;
        // One slot per subfolder; the readers fill them in order, so the filled ones come first.
        std::vector<std::unique_ptr<Folder>> m_children;
    };

    // Starts Readers threads (fewer if the system refuses to start more).
    FolderReadAhead(const FolderRules& Rules, const WalkLimits& Limits, std::size_t Readers,
                    const std::atomic<bool>& Aborted);
    // Stops the readers and waits for them; then releases every folder.
    ~FolderReadAhead();

    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    const WalkLimits& limits() const { return m_limits; }

    // The walk starts at the target folder Path (which may be reached through a link). Returns
    // that folder, not yet read.
    Folder& start(const std::string& Path);

    // The walk enters the next subfolder of Parent, the deepest folder it walks. Returns it.
    Folder& enter(Folder& Parent);

    // Gives the walk the read of Node, the folder it entered last, with at least Parts, the
    // files part without descriptions made ahead if it read the folder itself. Null when the
    // folder cannot be read (it counts as empty) or the walk was aborted. Without the
    // subfolders part, nothing below Node is read.
    FolderRead* take(Folder& Node, FolderParts Parts);

    // The walk is done with Node, the deepest folder it walks, and everything below it; Node
    // is released.
    void leave(Folder& Node);

private:
    using Lock = std::unique_lock<std::mutex>;
    enum class Pick : std::uint8_t { Found, NoRoom, NoWork };
    static constexpr int LockTries = 8;

    Lock acquire() const;
    // Waits until no reader reads Node or below it, then takes Node out of the tree.
    std::unique_ptr<Folder> detach(Lock& lock, Folder& node);

    void readerLoop();
    // Reads subfolder Index of Parent ahead; false when this reader must stop.
    bool readAhead(Lock& lock, Folder& parent, std::size_t index);
    Pick pick(Folder*& parent, std::size_t& index) const;
    bool pickBelow(Folder& folder, std::size_t from, Folder*& parent, std::size_t& index) const;
    bool isFresh(const Folder& node) const;
    void dropBelow(Folder& node);
    void cancelBelow(Folder& node, bool itself);
    bool readingBelow(const Folder& node, bool itself) const;
    void uncharge(Folder& node);
    void unchargeBelow(Folder& node, bool itself);
    void reopen(Folder& folder, const Folder& child);
    void heldOpened(Folder& folder);
    void evict();
    void wakeForWork();
    std::string pathBetween(std::size_t from, std::size_t to) const;
    template <typename Predicate>
    void waitWhile(Lock& lock, Predicate busy) {
        m_walkWaiting = true;
        m_published.wait(lock, [&] { return !busy(); });
        m_walkWaiting = false;
    }

    const FolderRules m_rules;
    const WalkLimits m_limits;
    const std::atomic<bool>& m_aborted;
    std::string m_rootPath;
    std::unique_ptr<Folder> m_root;

    mutable std::mutex m_mutex;
    std::condition_variable m_work;      // readers wait here for a folder to read
    std::condition_variable m_published; // the walk waits here for a reader to finish
    std::atomic<bool> m_closing = false;
    bool m_walkWaiting = false;
    std::size_t m_waitingForRoom = 0; // readers that found the window full
    std::size_t m_waitingForWork = 0; // readers that found nothing to read
    std::size_t m_inWindow = 0;       // folders being read or read and not yet taken
    std::size_t m_windowBytes = 0;    // the memory of those
    // The folders the walk is in, from the target folder down; written by the walk under the
    // lock, read by the readers under it.
    std::vector<Folder*> m_path;
    std::size_t m_held = 0;      // folders of the path that are open
    std::size_t m_evictFrom = 1; // the folders of the path above this index are all closed
    std::vector<std::thread> m_readers;
};

} // namespace velmaro
