// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FolderReadAhead.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace velmaro {

namespace {

using platform::FolderHandle;
using Outcome = FolderRead::Outcome;

} // namespace

FolderParts WalkLimits::partsAt(std::size_t Depth) const {
    const auto level = static_cast<std::uint16_t>(Depth);
    FolderParts parts;
    parts.files = level >= minLevel;
    parts.subfolders = subfolders && (maxLevel == 0 || level < maxLevel);
    return parts;
}

FolderReadAhead::Folder::Folder(Folder* parent, std::size_t index, std::size_t depth)
    : m_parent(parent), m_index(index), m_depth(depth) {}

FolderReadAhead::FolderReadAhead(const FolderRules& Rules, const WalkLimits& Limits,
                                 std::size_t Readers, const std::atomic<bool>& Aborted)
    : m_rules(Rules), m_limits(Limits), m_aborted(Aborted) {
    // New threads start at the priority of the thread that starts them, the walk's.
    try {
        for (std::size_t i = 0; i < Readers; ++i)
            m_readers.emplace_back([this] { readerLoop(); });
    } catch (const std::system_error&) {
        // Reading ahead only saves time: the walk goes on with the readers that did start.
    }
}

FolderReadAhead::~FolderReadAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_work.notify_all();
    for (std::thread& reader : m_readers)
        reader.join();
}

FolderReadAhead::Folder& FolderReadAhead::start(const std::string& Path) {
    std::lock_guard lock(m_mutex);
    m_rootPath = Path;
    m_root = std::make_unique<Folder>(nullptr, 0, 1);
    m_path.assign(1, m_root.get());
    return *m_root;
}

FolderReadAhead::Folder& FolderReadAhead::enter(Folder& Parent) {
    const Lock lock = acquire();
    const std::size_t index = Parent.m_next++;
    std::unique_ptr<Folder>& slot = Parent.m_children[index];
    if (!slot)
        slot = std::make_unique<Folder>(&Parent, index, Parent.m_depth + 1);
    m_path.push_back(slot.get());
    return *slot;
}

FolderRead* FolderReadAhead::take(Folder& Node, FolderParts Parts) {
    bool fromReader = false;
    {
        Lock lock = acquire();
        // Rather than wait for the reader of Node, the walk reads the next folder nobody reads
        // yet itself: one more read under way while the disk is slow, no sleep while it is not.
        while (Node.m_state == Folder::State::Reading) {
            Folder* parent = nullptr;
            std::size_t index = 0;
            if (m_aborted.load(std::memory_order_relaxed) || pick(parent, index) != Pick::Found ||
                !readAhead(lock, *parent, index)) {
                m_walkWaiting = true;
                m_published.wait(lock);
                m_walkWaiting = false;
            }
        }
        fromReader = Node.m_state == Folder::State::Ready;
        if (fromReader) {
            uncharge(Node);
            heldOpened(Node);
            evict();
        }
        Node.m_state = Folder::State::Walking;
    }
    const FolderParts got = Node.m_read.parts();
    const bool usable = fromReader && (got.files || !Parts.files) &&
                        (got.subfolders || !Parts.subfolders) && isFresh(Node);
    if (fromReader && (!usable || !Parts.subfolders))
        dropBelow(Node);
    if (usable)
        return &Node.m_read;

    if (m_aborted.load(std::memory_order_relaxed))
        return nullptr;
    FolderHandle folder = Node.m_parent == nullptr
                              ? FolderHandle::open(m_rootPath)
                              : Node.m_parent->m_read.folder().openChild(
                                    Node.m_parent->m_read.subfolderName(Node.m_index));
    // Readers may read the subfolders as soon as the walk lets them below this folder,
    // and reading a folder moves its access time; so with readers every entry the file pass
    // may report is described first, as a walk without readers describes it before it
    // reads any subfolder. Without readers it is described only when it is wanted.
    Parts.describeFiles = Parts.files && !m_readers.empty();
    const Outcome outcome =
        Node.m_read.read(std::move(folder), m_rules, Parts, std::numeric_limits<std::size_t>::max(),
                         [this] { return m_aborted.load(std::memory_order_relaxed); });
    if (outcome != Outcome::Read)
        return nullptr;
    Node.m_children.resize(Parts.subfolders ? Node.m_read.subfolderCount() : 0);
    const Lock lock = acquire();
    if (Parts.subfolders) {
        Node.m_listed = true;
        wakeForWork();
    }
    if (Node.m_read.folder().valid())
        heldOpened(Node);
    evict();
    return &Node.m_read;
}

void FolderReadAhead::leave(Folder& Node) {
    Folder* const parent = Node.m_parent;
    std::unique_ptr<Folder> released;
    bool reopenParent = false;
    {
        Lock lock = acquire();
        m_path.pop_back();
        m_evictFrom =
            std::clamp<std::size_t>(m_evictFrom, 1, std::max<std::size_t>(m_path.size(), 1));
        if (Node.m_held) {
            Node.m_held = false;
            --m_held;
        }
        Node.m_listed = false;
        cancelBelow(Node, true);
        reopenParent = parent != nullptr && parent->hasNext() && !parent->m_read.folder().valid() &&
                       !m_aborted.load(std::memory_order_relaxed);
        if (!reopenParent)
            released = detach(lock, Node);
    }
    if (reopenParent) {
        reopen(*parent, Node);
        Lock lock = acquire();
        released = detach(lock, Node);
    }
    // Released here, outside the lock: closing folders and freeing listings takes a while.
}

std::unique_ptr<FolderReadAhead::Folder> FolderReadAhead::detach(Lock& lock, Folder& node) {
    waitWhile(lock, [&] { return readingBelow(node, true); });
    unchargeBelow(node, true);
    return node.m_parent != nullptr ? std::move(node.m_parent->m_children[node.m_index])
                                    : std::move(m_root);
}

FolderReadAhead::Lock FolderReadAhead::acquire() const {
    // The lock is held for a few hundred instructions at a time, so a few tries mostly get it
    // without the cost of sleeping and being woken.
    for (int i = 0; i < LockTries; ++i) {
        if (m_mutex.try_lock())
            return Lock(m_mutex, std::adopt_lock);
        std::this_thread::yield();
    }
    return Lock(m_mutex);
}

void FolderReadAhead::readerLoop() {
    Lock lock = acquire();
    while (!m_closing) {
        Folder* parent = nullptr;
        std::size_t index = 0;
        const Pick found =
            m_aborted.load(std::memory_order_relaxed) ? Pick::NoWork : pick(parent, index);
        if (found == Pick::Found) {
            if (!readAhead(lock, *parent, index))
                return;
            continue;
        }
        std::size_t& waiting = found == Pick::NoRoom ? m_waitingForRoom : m_waitingForWork;
        ++waiting;
        m_work.wait(lock);
        --waiting;
    }
}

bool FolderReadAhead::readAhead(Lock& lock, Folder& parent, std::size_t index) {
    std::unique_ptr<Folder>& slot = parent.m_children[index];
    try {
        slot = std::make_unique<Folder>(&parent, index, parent.m_depth + 1);
    } catch (const std::bad_alloc&) {
        // No memory to read ahead: this reader stops, and the walk reads for itself.
        return false;
    }
    Folder& node = *slot;
    node.m_state = Folder::State::Reading;
    ++parent.m_pins;
    ++m_inWindow;
    const char* const name = parent.m_read.subfolderName(index);
    FolderParts parts = m_limits.partsAt(node.m_depth);
    parts.describeFiles = parts.files;
    lock.unlock();

    // The parent stays open and in place while it is pinned, so it is used without the lock.
    Outcome outcome = Outcome::Stopped;
    // The subfolders' slots are made here and only moved into the node under the lock, since
    // the walk looks at the slots of folders still being read.
    std::vector<std::unique_ptr<Folder>> children;
    try {
        outcome = node.m_read.read(parent.m_read.folder().openChild(name), m_rules, parts,
                                   MaxListingBytes, [this, &node] {
                                       return m_aborted.load(std::memory_order_relaxed) ||
                                              m_closing.load(std::memory_order_relaxed) ||
                                              node.m_cancelled.load(std::memory_order_relaxed);
                                   });
        if (outcome == Outcome::Read && parts.subfolders)
            children.resize(node.m_read.subfolderCount());
    } catch (const std::bad_alloc&) {
        // As above: the walk reads this folder itself.
        outcome = Outcome::Stopped;
    }
    // What a read given up holds goes at once, however many of them wait for the walk.
    if (outcome != Outcome::Read)
        node.m_read = FolderRead();

    lock = acquire();
    --parent.m_pins;
    if (outcome == Outcome::Read) {
        node.m_children = std::move(children);
        node.m_state = Folder::State::Ready;
        node.m_listed = parts.subfolders && !node.m_cancelled.load(std::memory_order_relaxed);
        node.m_charged = node.m_read.memoryUse();
        m_windowBytes += node.m_charged;
    } else {
        // Unreadable here may be a passing shortage; the walk tries again.
        node.m_state = Folder::State::Unread;
        --m_inWindow;
    }
    if (m_walkWaiting)
        m_published.notify_all();
    if (node.m_listed)
        wakeForWork();
    return true;
}

FolderReadAhead::Pick FolderReadAhead::pick(Folder*& parent, std::size_t& index) const {
    if (m_inWindow >= MaxWindowFolders || m_windowBytes >= MaxWindowBytes)
        return Pick::NoRoom;
    // The walk's own folders from the deepest up, each with the subfolders it has not entered
    // yet; above a folder the walk has closed, nothing can be opened.
    for (std::size_t i = m_path.size(); i-- > 0;) {
        Folder& folder = *m_path[i];
        if (!folder.m_listed)
            continue;
        if (!folder.m_read.folder().valid())
            break;
        if (pickBelow(folder, folder.m_next, parent, index))
            return Pick::Found;
    }
    return Pick::NoWork;
}

bool FolderReadAhead::pickBelow(Folder& folder, std::size_t from, Folder*& parent,
                                std::size_t& index) const {
    for (std::size_t i = from; i < folder.m_children.size(); ++i) {
        Folder* const child = folder.m_children[i].get();
        if (child == nullptr) {
            if (!folder.m_read.folder().valid())
                return false;
            parent = &folder;
            index = i;
            return true;
        }
        // Below a folder still being read nothing is known yet; its later siblings come next.
        if (child->m_state == Folder::State::Ready && child->m_listed &&
            pickBelow(*child, 0, parent, index))
            return true;
    }
    return false;
}

bool FolderReadAhead::isFresh(const Folder& node) const {
    platform::FolderStatus status;
    if (!node.m_read.folder().status(status))
        return false;
    const FolderRead::Subfolder& listed = node.m_parent->m_read.subfolder(node.m_index);
    return !status.removed && status.device == listed.device && status.inode == listed.inode &&
           status.changed == listed.changed;
}

void FolderReadAhead::dropBelow(Folder& node) {
    std::vector<std::unique_ptr<Folder>> released;
    Lock lock = acquire();
    node.m_listed = false;
    cancelBelow(node, false);
    waitWhile(lock, [&] { return readingBelow(node, false); });
    unchargeBelow(node, false);
    released.swap(node.m_children);
    lock.unlock();
}

void FolderReadAhead::cancelBelow(Folder& node, bool itself) {
    if (itself)
        node.m_cancelled.store(true, std::memory_order_relaxed);
    for (const std::unique_ptr<Folder>& child : node.m_children)
        if (child)
            cancelBelow(*child, true);
}

bool FolderReadAhead::readingBelow(const Folder& node, bool itself) const {
    if (itself && node.m_state == Folder::State::Reading)
        return true;
    return std::any_of(node.m_children.begin(), node.m_children.end(),
                       [this](const std::unique_ptr<Folder>& child) {
                           return child && readingBelow(*child, true);
                       });
}

void FolderReadAhead::uncharge(Folder& node) {
    --m_inWindow;
    m_windowBytes -= node.m_charged;
    node.m_charged = 0;
    // Readers that found the window full start again once half of it is free, so that the
    // walk does not wake one for every folder it takes.
    if (m_waitingForRoom > 0 && m_inWindow <= MaxWindowFolders / 2 &&
        m_windowBytes <= MaxWindowBytes / 2)
        m_work.notify_all();
}

void FolderReadAhead::unchargeBelow(Folder& node, bool itself) {
    if (itself && node.m_state == Folder::State::Ready) {
        uncharge(node);
        node.m_state = Folder::State::Unread;
    }
    for (const std::unique_ptr<Folder>& child : node.m_children)
        if (child)
            unchargeBelow(*child, true);
}

void FolderReadAhead::wakeForWork() {
    if (m_waitingForWork > 0)
        m_work.notify_all();
}

void FolderReadAhead::heldOpened(Folder& folder) {
    if (folder.m_held)
        return;
    folder.m_held = true;
    ++m_held;
    const auto at = std::find(m_path.rbegin(), m_path.rend(), &folder);
    const std::size_t index = static_cast<std::size_t>(m_path.rend() - at) - 1;
    if (index > 0)
        m_evictFrom = std::min(m_evictFrom, index);
}

void FolderReadAhead::evict() {
    while (m_held > MaxHeldFolders) {
        // The shallowest open folder of the path but the target folder and the deepest, and
        // not one a reader is opening a subfolder through.
        std::size_t pinned = m_path.size();
        std::size_t i = m_evictFrom;
        for (; i + 1 < m_path.size(); ++i) {
            Folder& folder = *m_path[i];
            if (!folder.m_held)
                continue;
            if (folder.m_pins > 0) {
                pinned = std::min(pinned, i);
                continue;
            }
            folder.m_read.closeFolder();
            folder.m_held = false;
            --m_held;
            break;
        }
        const bool closed = i + 1 < m_path.size();
        m_evictFrom = std::min(pinned, closed ? i + 1 : i);
        if (!closed)
            return;
    }
}

void FolderReadAhead::reopen(Folder& folder, const Folder& child) {
    // Only the walk changes the folders of its path, so it reads them here without the lock.
    const FolderRead::Subfolder& listed = folder.m_parent->m_read.subfolder(folder.m_index);
    const auto isFolder = [&listed](const FolderHandle& handle) {
        platform::FolderStatus status;
        return handle.status(status) && status.device == listed.device &&
               status.inode == listed.inode;
    };
    FolderHandle handle = child.m_read.folder().openParent();
    if (!isFolder(handle)) {
        // The subfolder was moved elsewhere: go down again, name by name, from the deepest
        // folder of the path still open (the target folder always is).
        const std::size_t at = m_path.size() - 1;
        std::size_t from = at;
        while (from > 1 && !m_path[from - 1]->m_read.folder().valid())
            --from;
        handle = m_path[from - 1]->m_read.folder().openBelow(pathBetween(from, at));
        if (!isFolder(handle))
            return;
    }
    const Lock lock = acquire();
    folder.m_read.setFolder(std::move(handle));
    heldOpened(folder);
    evict();
    wakeForWork();
}

std::string FolderReadAhead::pathBetween(std::size_t from, std::size_t to) const {
    std::string relative;
    for (std::size_t i = from; i <= to; ++i) {
        const Folder& folder = *m_path[i];
        if (!relative.empty())
            relative.push_back('/');
        relative.append(folder.m_parent->m_read.subfolderName(folder.m_index));
    }
    return relative;
}

} // namespace velmaro
