// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Trash.h"

#include "platform/FixtureRoots.h"
#include "platform/ListedFile.h"
#include "platform/TrashInfo.h"
#include "platform/posix/EntryStatus.h"
#include "platform/posix/MakeFolders.h"
#include "platform/posix/MountInfo.h"
#include "platform/posix/ParentFolder.h"
#include "platform/posix/PathComponents.h"
#include "platform/posix/UniqueFd.h"
#include "platform/posix/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmaro::platform {

namespace {

constexpr mode_t TrashMode = 0700;
// How many numbered names a file tries in a trash before it counts as not trashable.
constexpr unsigned NameAttempts = 100000;

bool isAbsolute(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

// Opens the folder name in parent without following a link, making it (mode 0700) where it
// is missing; it must belong to uid. Returns the O_PATH descriptor, or an invalid one with
// error set.
UniqueFd openOwnFolder(int parent, const std::string& name, std::uint32_t uid, int& error) {
    if (mkdirat(parent, name.c_str(), TrashMode) != 0 && errno != EEXIST) {
        error = errno;
        return {};
    }
    UniqueFd folder(openat(parent, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) {
        error = errno;
        return {};
    }
    struct stat st;
    if (fstat(folder.get(), &st) != 0) {
        error = errno;
        return {};
    }
    if (st.st_uid != uid) {
        error = EACCES;
        return {};
    }
    return folder;
}

// Makes every missing folder of the absolute path (mode 0700), as a data folder is made, and
// opens it.
UniqueFd openMadeFolders(const std::string& path, int& error) {
    UniqueFd folder;
    if (MakeFolders(path))
        folder.reset(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        error = errno;
    return folder;
}

std::string localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The components of path from the top directory on, joined with "/": the path relative to a
// mount point whose components are top.
std::string relativeTo(const std::vector<std::string_view>& top,
                       const std::vector<std::string_view>& path) {
    std::string relative;
    for (std::size_t i = top.size(); i < path.size(); ++i)
        relative.append(relative.empty() ? "" : "/").append(path[i]);
    return relative;
}

} // namespace

// One trash folder, opened: where its files and info files go, and the numbers its names
// have reached in this run.
struct Trash::Folder {
    // The top directory's path; empty for the home trash, whose info files hold absolute
    // paths.
    std::string top;
    bool home = false;
    int error = 0; // why the trash cannot be used; 0 when it can
    UniqueFd files;
    UniqueFd info;
    std::map<std::string, unsigned, std::less<>> nextNumber;
};

Trash::Trash(std::string dataHome, std::uint32_t uid)
    : m_dataHome(std::move(dataHome)), m_uid(uid) {}

Trash::~Trash() = default;

std::string Trash::DataHomeFromEnvironment() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && isAbsolute(dataHome))
        return dataHome;
    const char* home = std::getenv("HOME");
    std::string homeFolder = home && isAbsolute(home) ? home : "";
    if (homeFolder.empty()) {
        // A service or a timer may run without HOME; the user's entry still names the folder.
        struct passwd entry;
        struct passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
            isAbsolute(found->pw_dir))
            homeFolder = found->pw_dir;
    }
    return homeFolder.empty() ? "" : homeFolder + "/.local/share";
}

Trash::Folder* Trash::trashFor(std::uint64_t device, std::uint64_t mount, std::string_view path,
                               int& error) {
    if (!m_homeLooked && isAbsolute(m_dataHome)) {
        m_homeLooked = true;
        // The file system the home trash is, or will be, on: that of its nearest folder.
        std::string folder = m_dataHome + "/Trash";
        while (!folder.empty()) {
            UniqueFd fd(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
            EntryStatus status;
            if (fd && statEntry(fd.get(), "", status) == 0) {
                m_homeKnown = true;
                m_homeDevice = status.device;
                m_homeMount = status.mount;
                break;
            }
            const std::size_t slash = folder.rfind('/');
            folder = slash > 0 ? folder.substr(0, slash) : folder == "/" ? "" : "/";
        }
    }
    if (m_homeKnown && OnSameMount(m_homeDevice, m_homeMount, device, mount))
        return homeTrash(error);
    return topDirectoryTrash(device, mount, path, error);
}

Trash::Folder* Trash::homeTrash(int& error) {
    if (!m_home) {
        m_home = std::make_unique<Folder>();
        Folder& trash = *m_home;
        trash.home = true;
        const std::string path = m_dataHome + "/Trash";
        if (!FixtureGuardAllows(path + "/info")) {
            trash.error = EPERM;
        } else if (const UniqueFd data = openMadeFolders(m_dataHome, trash.error)) {
            if (const UniqueFd folder = openOwnFolder(data.get(), "Trash", m_uid, trash.error)) {
                trash.files = openOwnFolder(folder.get(), "files", m_uid, trash.error);
                if (trash.files)
                    trash.info = openOwnFolder(folder.get(), "info", m_uid, trash.error);
            }
        }
    }
    error = m_home->error;
    return error ? nullptr : m_home.get();
}

Trash::Folder* Trash::topDirectoryTrash(std::uint64_t device, std::uint64_t mount,
                                        std::string_view path, int& error) {
    const auto components = SplitAbsolutePath(path);
    if (!components) {
        error = EINVAL;
        return nullptr;
    }
    if (!m_mountsRead) {
        m_mountsRead = true;
        for (MountInfoEntry& entry : readMountInfo("/proc/self/mountinfo"))
            m_mountPoints.push_back(std::move(entry.mountPoint));
    }
    // The top directory: the mount point that holds the path, the last mounted of the longest.
    // The check below that it lies on the file's mount catches a table that changed since.
    std::string top;
    std::size_t topDepth = 0;
    bool found = false;
    for (const std::string& mountPoint : m_mountPoints) {
        const auto point = SplitAbsolutePath(mountPoint);
        if (!point || point->size() >= components->size() || (found && point->size() < topDepth))
            continue;
        if (std::equal(point->begin(), point->end(), components->begin())) {
            top = mountPoint;
            topDepth = point->size();
            found = true;
        }
    }
    if (!found) {
        error = ENOENT;
        return nullptr;
    }
    std::unique_ptr<Folder>& cached = m_drives[top];
    if (!cached) {
        cached = std::make_unique<Folder>();
        Folder& trash = *cached;
        trash.top = top;
        UniqueFd topFolder(open(top.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        EntryStatus status;
        if (!topFolder) {
            trash.error = errno;
        } else if (const int failed = statEntry(topFolder.get(), "", status)) {
            trash.error = failed;
        } else if (!OnSameMount(status.device, status.mount, device, mount)) {
            // Something else is mounted there now: the file's drive has no reachable top.
            trash.error = EXDEV;
        } else {
            const std::string uid = std::to_string(m_uid);
            const std::string topPrefix = top == "/" ? "" : top;
            UniqueFd folder;
            // The shared trash: a real folder with the sticky bit, never a link.
            struct stat shared;
            if (fstatat(topFolder.get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX) &&
                FixtureGuardAllows(topPrefix + "/.Trash/" + uid + "/info")) {
                UniqueFd sharedFolder(openat(topFolder.get(), ".Trash",
                                             O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                if (sharedFolder)
                    folder = openOwnFolder(sharedFolder.get(), uid, m_uid, trash.error);
            }
            if (!folder) {
                trash.error = 0;
                if (FixtureGuardAllows(topPrefix + "/.Trash-" + uid + "/info"))
                    folder = openOwnFolder(topFolder.get(), ".Trash-" + uid, m_uid, trash.error);
                else
                    trash.error = EPERM;
            }
            if (folder) {
                trash.files = openOwnFolder(folder.get(), "files", m_uid, trash.error);
                if (trash.files)
                    trash.info = openOwnFolder(folder.get(), "info", m_uid, trash.error);
            }
        }
    }
    error = cached->error;
    return error ? nullptr : cached.get();
}

int Trash::moveToTrash(ListedFile& file, std::string_view path) {
    const auto components = SplitAbsolutePath(path);
    if (file.found() != ListedFile::Found::listed || !components || components->empty())
        return EPERM;
    const FileIdentity& identity = file.foundIdentity();
    int error = 0;
    Folder* trash = trashFor(identity.device, identity.mount, path, error);
    if (!trash)
        return error;
    const std::string name(components->back());
    const std::string original =
        trash->home ? std::string(path) : relativeTo(*SplitAbsolutePath(trash->top), *components);
    const std::string info = TrashInfoText(original, localTimeNow());
    auto next = trash->nextNumber.find(name);
    const unsigned first = next == trash->nextNumber.end() ? 1 : next->second;
    for (unsigned number = first; number < first + NameAttempts; ++number) {
        const std::string entry = TrashEntryName(name, number);
        const std::string infoName = TrashInfoName(entry);
        UniqueFd infoFile(openat(trash->info.get(), infoName.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!infoFile) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (!WriteAll(infoFile.get(), info) || !infoFile.close()) {
            const int failed = errno;
            unlinkat(trash->info.get(), infoName.c_str(), 0);
            return failed;
        }
        const int moved = file.MoveTo(trash->files.get(), entry);
        if (moved == 0) {
            trash->nextNumber[name] = number + 1;
            return 0;
        }
        unlinkat(trash->info.get(), infoName.c_str(), 0);
        if (moved != EEXIST)
            return moved;
    }
    return EEXIST;
}

} // namespace velmaro::platform
