// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include "platform/RegistryFormat.h"
#include "platform/posix/KeepAside.h"
#include "platform/posix/LinkTarget.h"
#include "platform/posix/MakeFolders.h"
#include "platform/posix/PathText.h"
#include "platform/posix/ReplaceFile.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::platform {

namespace {

constexpr mode_t kNewFileMode = 0600;

std::mutex& processMutex() {
    static std::mutex mutex;
    return mutex;
}

enum class ReadState {
    Missing,  // no such file
    Read,     // a regular file within the size bound, read whole
    Unusable, // not a regular file (a FIFO, a folder, a link where none is followed, ...)
              // or larger than the bound: never ours, so it is moved aside before a write
    Failed,   // a regular file that could not be read (no permission, an I/O error)
};

struct Contents {
    ReadState State = ReadState::Missing;
    std::string Bytes;
    mode_t Mode = kNewFileMode; // the permission bits of a file read
};

// The file at path, read whole. The open does not block (a FIFO or a device opens at once
// and is then refused as no regular file); with followLinks false a link is Unusable.
Contents readWhole(const std::string& path, bool followLinks) {
    Contents contents;
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    const UniqueFd fd(::open(path.c_str(), flags));
    if (!fd) {
        if (errno == ENOENT)
            contents.State = ReadState::Missing;
        else if (errno == ELOOP || errno == ENXIO || errno == ENODEV)
            contents.State = ReadState::Unusable; // a link, a loop of links, a socket
        else
            contents.State = ReadState::Failed;
        return contents;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        contents.State = ReadState::Failed;
        return contents;
    }
    if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > Registry::MaxFileSize) {
        contents.State = ReadState::Unusable;
        return contents;
    }
    contents.Mode = st.st_mode;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0) {
            contents.State = ReadState::Read;
            return contents;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            contents.State = ReadState::Failed;
            return contents;
        }
        contents.Bytes.append(buffer, static_cast<std::size_t>(n));
        if (contents.Bytes.size() > Registry::MaxFileSize) {
            // Grew while being read.
            contents.State = ReadState::Unusable;
            return contents;
        }
    }
}

// Opens (creating it when missing) and exclusively locks the lock file. A lock file that
// exists but may not be written is locked through a read-only descriptor.
UniqueFd lockFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd && errno == EACCES)
        fd.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return fd;
    while (::flock(fd.get(), LOCK_EX) != 0)
        if (errno != EINTR)
            return UniqueFd();
    return fd;
}

} // namespace

Registry::Registry(std::string filePath) : m_filePath(std::move(filePath)) {}

std::string Registry::DefaultPath() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
            home = env;
        } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
            home = entry->pw_dir;
        }
        if (home.empty())
            return {};
        config = home + "/.config";
    }
    return config + "/Quarno Labs/Velmaro 2.reg";
}

RegistryTree Registry::read() const {
    const Contents contents = readWhole(m_filePath, true);
    if (contents.State != ReadState::Read)
        return {};
    return ParseRegistryText(contents.Bytes).value_or(RegistryTree{});
}

Registry::UpdateResult Registry::update(const std::function<void(RegistryTree&)>& edit) const {
    std::lock_guard guard(processMutex());
    if (!MakeFolders(FolderOf(m_filePath)))
        return UpdateResult::FolderFailed;
    const UniqueFd lock = lockFile(m_filePath + ".lock");
    if (!lock)
        return UpdateResult::FolderFailed;

    // A link is written through: its target is the file read and replaced, in its own folder.
    const std::string file = LinkTarget(m_filePath);
    RemoveStaleTemporaryFiles(file);
    const Contents contents = readWhole(file, false);
    if (contents.State == ReadState::Failed)
        return UpdateResult::ReadFailed;
    std::optional<RegistryTree> present;
    if (contents.State == ReadState::Read)
        present = ParseRegistryText(contents.Bytes);
    if (contents.State != ReadState::Missing && !present && !KeepAside(file))
        return UpdateResult::WriteFailed;

    RegistryTree tree = present.value_or(RegistryTree{});
    edit(tree);
    if (present && tree == *present)
        return UpdateResult::Done;
    const auto text = FormatRegistryText(tree);
    if (!text || !ReplaceFile(file, *text, present ? contents.Mode : kNewFileMode))
        return UpdateResult::WriteFailed;
    return UpdateResult::Done;
}

} // namespace velmaro::platform
